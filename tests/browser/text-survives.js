// End to end: a text typed with quotes, "<", "&", a backslash, accents, the registered sign and
// the euro sign, and a text of other scripts (Polish, Greek, Cyrillic, Japanese, Hebrew, Arabic,
// a combining accent, emoji with and without a joiner), each go through pelto-cli (under a UTF-8
// locale, as a terminal would pass them) into a page, and headless Chromium must show them
// exactly as typed (no normalisation, no U+FFFD, no markup made): in element text, in an
// attribute, in JavaScript strings in either quote, in a link and raw through a placeholder
// without modifier, while the page's own link texts (one of them in other scripts) come back
// as its link titles. The pages: UTF-8 declared by <meta charset>, UTF-8 with only a byte order
// mark, and Windows-1252. The effect is a small fixture written here, whose code puts the text
// in through escaped placeholders (|HTML, |JS, |URL) and a Mouseover link template.
//
//   node text-survives.js --cli PATH/pelto-cli --home PROGRAM_FOLDER [--keep]
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { createRequire } from "node:module";

const here = path.dirname(fileURLToPath(import.meta.url));
const CHROMIUM = "/usr/bin/chromium";
const TYPED = `Tom's "A&B" <i>x</i> \\ café ® 5 €`;
const WORLD = "Łódź Ωμέγα Юля 写真 שלום مرحبا Cafe\u0301 \u{1f600} \u{1f469}\u200d\u{1f4bb} ★";
// The page's second link, in other scripts.
const WORLD_LINK = "写真 שלום Ωμέγα \u{1f600}";
// The link text of each page, as the reader sees it (the source writes & as &amp;).
const LINK_TEXT = `Tom's "A&B" café ® 5 € → #1`;
const OPEN = "\u00ae";
const CLOSE = "\u00af";
const P = (inner) => OPEN + inner + CLOSE;

function parseArgs(argv) {
  const args = { keep: false };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === "--cli") args.cli = argv[++i];
    else if (a === "--home") args.home = argv[++i];
    else if (a === "--keep") args.keep = true;
    else throw new Error(`unknown argument ${a}`);
  }
  if (!args.cli || !args.home) throw new Error("usage: text-survives.js --cli PATH --home PROGRAM_FOLDER [--keep]");
  return args;
}

// playwright-core comes from this folder's package-lock.json; install it on first use.
function loadPlaywright() {
  const require = createRequire(path.join(here, "package.json"));
  try {
    return require("playwright-core");
  } catch {
    console.log("installing playwright-core (npm ci) ...");
    const r = spawnSync("npm", ["ci", "--no-audit", "--no-fund"], { cwd: here, stdio: "inherit" });
    if (r.status !== 0) throw new Error("npm ci failed in " + here);
    return require("playwright-core");
  }
}

function cli(args, cliArgs, env = {}) {
  const r = spawnSync(args.cli, cliArgs, { encoding: "utf8", timeout: 60000, env: { ...process.env, ...env } });
  if (r.error) throw new Error(`pelto-cli ${cliArgs.join(" ")}: ${r.error.message}`);
  if (r.status !== 0) throw new Error(`pelto-cli ${cliArgs.join(" ")} exited with ${r.status}: ${(r.stderr || r.stdout).trim()}`);
  return r.stdout;
}

// Windows-1252 bytes of a text (only characters that encoding holds are used here).
function cp1252(text) {
  const high = { "€": 0x80, "’": 0x92 };
  return Buffer.from(Array.from(text, (ch) => high[ch] ?? ch.charCodeAt(0)));
}

// A program folder with the shipped handler files and the fixture effect, scrambled by
// pelto-cli itself.
function makeHome(args, work) {
  const home = path.join(work, "home");
  const data = path.join(home, "data");
  fs.mkdirSync(data, { recursive: true });
  fs.mkdirSync(path.join(home, "output"), { recursive: true });
  for (const f of fs.readdirSync(path.join(args.home, "data"))) {
    if (/handler\.js$/i.test(f)) fs.copyFileSync(path.join(args.home, "data", f), path.join(data, f));
  }
  const crlf = (lines) => lines.join("\r\n") + "\r\n";
  const files = {
    "tc.hdr": crlf(["pelto.textcheck", "tc", "100", "Text check", "Shows a typed text", "Tests", "0", "2",
                    "Head,tc_head.dat,,1,0", "Body_Top,tc_top.dat,,1,0"]),
    "tc.par": crlf(["*", "5", "0", "100", "Hello", "x", "y", "True", "Message", "The text",
                    "*", "5", "0", "100", "Hi", "x", "y", "True", "Plain", "A text without markup",
                    "*", "9", "First", "Second", 'title="*" data-second="#"', "Hover", "The link texts", "end"]),
    "tc_head.dat": crlf(["<script>", `var peltoDouble = "${P("Message,TEXTVALUE|JS")}";`,
                         `var peltoSingle = '${P("Message,textvalue|js")}';`, "</script>"]),
    "tc_top.dat": crlf([`<div id="tc-text" title="${P("Message,TEXTVALUE|HTML")}">${P("Message,TEXTVALUE|HTML")}</div>`,
                        `<div id="tc-raw">${P("Plain,TEXTVALUE")}</div>`,
                        `<a id="tc-link" href="files/${P("Message,TEXTVALUE|URL")}">file</a>`]),
  };
  for (const [name, text] of Object.entries(files)) {
    const plain = path.join(work, name);
    fs.writeFileSync(plain, Buffer.from(text, "latin1"));
    cli(args, ["scramble", plain, path.join(data, name)]);
  }
  return home;
}

// The three pages, each with a title in its head, a paragraph of its own and one link.
function makePages(work) {
  const body = (arrow, world) =>
    `<body>\r\n<p id="own">café ® 5 €</p>\r\n<p><a href="a.htm">Tom's "A&amp;B" café ® 5 € ${arrow} #1</a></p>\r\n` +
    `<p><a href="b.htm">${world}</a></p>\r\n</body>\r\n</html>\r\n`;
  // A Windows-1252 page writes what it cannot hold as character references.
  const references = (text) => Array.from(text, (ch) => `&#${ch.codePointAt(0)};`).join("");
  const pages = [
    {
      name: "utf8-meta",
      charset: "UTF-8",
      bytes: Buffer.from(`<!DOCTYPE html>\r\n<html><head><meta charset="utf-8"><title>Café</title></head>\r\n` + body("→", WORLD_LINK), "utf8"),
    },
    {
      name: "utf8-bom",
      charset: "UTF-8",
      bytes: Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]),
                            Buffer.from(`<!DOCTYPE html>\r\n<html><head><title>Café</title></head>\r\n` + body("→", WORLD_LINK), "utf8")]),
    },
    {
      name: "windows-1252",
      charset: "windows-1252",
      bytes: cp1252(`<!DOCTYPE html>\r\n<html><head><meta charset="windows-1252"><title>Café</title></head>\r\n` + body("&rarr;", references(WORLD_LINK))),
    },
  ];
  for (const p of pages) {
    p.file = path.join(work, "site", `${p.name}.htm`);
    fs.mkdirSync(path.dirname(p.file), { recursive: true });
    fs.writeFileSync(p.file, p.bytes);
  }
  return pages;
}

async function checkPage(browser, file, expected, typed, plain) {
  const errors = [];
  const context = await browser.newContext();
  const page = await context.newPage();
  page.on("pageerror", (e) => errors.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") errors.push(`console error: ${m.text()}`);
  });
  try {
    await page.goto(pathToFileURL(file).href, { waitUntil: "load", timeout: 30000 });
    const seen = await page.evaluate(() => {
      const text = document.getElementById("tc-text");
      const link = document.getElementById("tc-link");
      const own = document.querySelector('a[href="a.htm"]');
      const world = document.querySelector('a[href="b.htm"]');
      const raw = document.getElementById("tc-raw");
      return {
        charset: document.characterSet,
        title: document.title,
        titleInHead: !!document.querySelector("head > title"),
        own: document.getElementById("own") && document.getElementById("own").textContent,
        italics: document.querySelectorAll("i").length,
        text: text && text.textContent,
        attribute: text && text.getAttribute("title"),
        double: window.peltoDouble,
        single: window.peltoSingle,
        file: link && decodeURIComponent(new URL(link.href).pathname.split("/files/").pop()),
        linkText: own && own.textContent,
        linkTitle: own && own.getAttribute("title"),
        linkSecond: own && own.getAttribute("data-second"),
        worldLinkText: world && world.textContent,
        worldLinkTitle: world && world.getAttribute("title"),
        raw: raw && raw.textContent,
        rawElements: raw && raw.children.length,
        replacement: document.documentElement.outerHTML.includes("\ufffd"),
      };
    });
    const want = {
      charset: expected.charset,
      title: "Café",
      titleInHead: true,
      own: "café ® 5 €",
      italics: 0,
      text: typed,
      attribute: typed,
      double: typed,
      single: typed,
      file: typed,
      linkText: LINK_TEXT,
      linkTitle: LINK_TEXT,
      linkSecond: "",
      worldLinkText: WORLD_LINK,
      worldLinkTitle: WORLD_LINK,
      raw: plain,
      rawElements: 0,
      replacement: false,
    };
    for (const [key, value] of Object.entries(want)) {
      if (seen[key] !== value) errors.push(`${key}: expected ${JSON.stringify(value)}, found ${JSON.stringify(seen[key])}`);
    }
  } finally {
    await context.close();
  }
  return errors;
}

async function main() {
  const args = parseArgs(process.argv.slice(2));
  if (!fs.existsSync(CHROMIUM)) throw new Error(`${CHROMIUM} is missing (apt-get install chromium)`);
  const { chromium } = loadPlaywright();
  const work = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-text-"));
  let failed = 0;
  try {
    const home = makeHome(args, work);
    const pages = makePages(work);
    const browser = await chromium.launch({
      executablePath: CHROMIUM,
      headless: true,
      args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
    });
    try {
      for (const [p, typed] of pages.flatMap((page) => [TYPED, WORLD].map((t) => [page, t]))) {
        // A terminal under a UTF-8 locale hands the typed text over as UTF-8. The plain text
        // goes into the page without escaping: the page's own encoding, any character.
        const plain = typed === TYPED ? "café ® 5 €" : WORLD;
        const out = cli(args, ["--home", home, "apply", "pelto.textcheck", p.file, "--set", `Message=${typed}`,
                               "--set", `Plain=${plain}`, "--mode", "copy"],
                        { LC_ALL: "C.UTF-8" });
        const result = out.trim().split(/\r?\n/).pop();
        const bytes = fs.readFileSync(result);
        const errors = [];
        // The page's own bytes stay as they were: a byte order mark stays the first bytes.
        if (p.name === "utf8-bom" && !bytes.subarray(0, 3).equals(Buffer.from([0xef, 0xbb, 0xbf])))
          errors.push("the byte order mark is no longer the first bytes of the result");
        const own = p.bytes.subarray(p.bytes.indexOf('<p id="own">'), p.bytes.indexOf("</p>") + 4);
        if (!bytes.includes(own)) errors.push("the page's own paragraph changed its bytes");
        errors.push(...(await checkPage(browser, result, p, typed, plain)));
        const label = `${p.name} (${typed === TYPED ? "Western" : "other scripts"})`;
        if (errors.length) {
          failed++;
          console.log(`FAIL ${label}`);
          for (const e of errors) console.log(`  ${e}`);
        } else {
          console.log(`ok   ${label}`);
        }
      }
    } finally {
      await browser.close();
    }
  } finally {
    if (args.keep) console.log(`kept ${work}`);
    else fs.rmSync(work, { recursive: true, force: true });
  }
  if (failed) {
    console.log(`${failed} page(s) failed`);
    process.exit(1);
  }
}

main().catch((e) => {
  console.error(e.stack || e.message);
  process.exit(1);
});
