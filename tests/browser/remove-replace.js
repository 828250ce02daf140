// End to end: effects put on a page with pelto-cli, then taken out with `pelto-cli remove`
// and changed with `pelto-cli apply --replace`, each page judged in headless Chromium. After
// remove, the page is byte for byte the page before the effect, loads with no console error,
// and its document holds no element the effect made (it matches the page before the effect as
// the browser builds it). After replace, the new text shows on the page and the old one is
// gone, with no console error. Pages: the sample page in Windows-1252 and in UTF-8; the new
// text holds quotes, "<", "&", the registered sign and, on the UTF-8 page, Polish, Greek,
// Japanese, Hebrew and an emoji.
//
//   node remove-replace.js --cli PATH/pelto-cli --home PROGRAM_FOLDER [--keep]
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { createRequire } from "node:module";
import { makeHome, SAMPLE_PAGES } from "./lib/program.js";
import { serveFolder } from "./lib/serve.js";

const here = path.dirname(fileURLToPath(import.meta.url));
const CHROMIUM = "/usr/bin/chromium";
const EFFECTS = ["pelto.noticebar", "pelto.dropmenu", "pelto.slideshow"];
const OLD_TEXT = "This site keeps no personal data about you.";
const NEW_TEXT = {
  "sample.htm": `Tom's "A&B" <i>x</i> café ® 5 €`,
  "sample-utf8.htm": `Tom's "A&B" <i>x</i> ® Łódź Ωμέγα 写真 שלום \u{1f600}`,
};

function parseArgs(argv) {
  const args = { keep: false };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === "--cli") args.cli = argv[++i];
    else if (a === "--home") args.home = argv[++i];
    else if (a === "--keep") args.keep = true;
    else throw new Error(`unknown argument ${a}`);
  }
  if (!args.cli || !args.home) throw new Error("usage: remove-replace.js --cli PATH --home PROGRAM_FOLDER [--keep]");
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

// pelto-cli under a UTF-8 locale, as a terminal passes typed text.
function cli(args, home, cliArgs) {
  const r = spawnSync(args.cli, ["--home", home, ...cliArgs], {
    encoding: "utf8", timeout: 60000, env: { ...process.env, LC_ALL: "C.UTF-8" } });
  if (r.error) throw new Error(`pelto-cli ${cliArgs.join(" ")}: ${r.error.message}`);
  if (r.status !== 0) throw new Error(`pelto-cli ${cliArgs.join(" ")} exited with ${r.status}: ${(r.stderr || r.stdout).trim()}`);
  return r.stdout;
}

// Loads the page and gives what the browser built: the document's markup, the text a visitor
// sees, and every console error and uncaught exception.
async function load(context, url) {
  const page = await context.newPage();
  const errors = [];
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  page.on("pageerror", (e) => errors.push(String(e)));
  await page.goto(url, { waitUntil: "load", timeout: 30000 });
  await page.waitForTimeout(700);
  const seen = await page.evaluate(() => ({
    markup: document.documentElement.outerHTML,
    elements: document.querySelectorAll("*").length,
    text: document.body.innerText,
  }));
  await page.close();
  return { ...seen, errors };
}

async function main() {
  const args = parseArgs(process.argv.slice(2));
  const work = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-remove-replace-"));
  const home = makeHome(args.home, work);
  const site = path.join(work, "site");
  fs.mkdirSync(site);
  const { chromium } = loadPlaywright();
  const server = await serveFolder(site);
  const browser = await chromium.launch({ executablePath: CHROMIUM, args: ["--no-sandbox"] });
  const failures = [];
  const check = (ok, what) => { if (!ok) failures.push(what); console.log(`${ok ? "ok  " : "FAIL"} ${what}`); };
  try {
    for (const { file } of SAMPLE_PAGES) {
      const original = fs.readFileSync(path.join(home, file));
      const base = path.basename(file, ".htm");
      fs.writeFileSync(path.join(site, `${base}-plain.htm`), original);
      const context = await browser.newContext();
      const plain = await load(context, server.url(path.join(site, `${base}-plain.htm`)));
      check(plain.errors.length === 0, `${file}: the page alone loads without errors ${plain.errors.join(" | ")}`);
      for (const id of EFFECTS) {
        const name = `${base}-${id.replace(/\W/g, "_")}.htm`;
        const target = path.join(site, name);
        fs.writeFileSync(target, original);
        cli(args, home, ["apply", id, target, "--mode", "overwrite", "--yes"]);
        const withEffect = await load(context, server.url(target));
        check(withEffect.markup !== plain.markup && withEffect.elements > plain.elements,
              `${file} ${id}: the effect adds elements (${plain.elements} -> ${withEffect.elements})`);

        if (id === "pelto.noticebar") {
          // The notice's text changed in place.
          const typed = NEW_TEXT[file];
          cli(args, home, ["apply", id, target, "--replace", "--set", `Notice text=${typed}`, "--yes"]);
          const replaced = await load(context, server.url(target));
          check(replaced.errors.length === 0, `${file} ${id}: after replace no console error ${replaced.errors.join(" | ")}`);
          check(replaced.text.includes(typed), `${file} ${id}: after replace the new text shows`);
          check(!replaced.text.includes(OLD_TEXT), `${file} ${id}: after replace the old text is gone`);
          check(replaced.elements === withEffect.elements, `${file} ${id}: after replace one notice, not two`);
        }

        cli(args, home, ["remove", id, target]);
        const removed = await load(context, server.url(target));
        check(fs.readFileSync(target).equals(original), `${file} ${id}: after remove the page's bytes are the page before`);
        check(removed.errors.length === 0, `${file} ${id}: after remove no console error ${removed.errors.join(" | ")}`);
        check(removed.markup === plain.markup, `${file} ${id}: after remove no element of the effect is left`);
      }
      await context.close();
    }
  } finally {
    await browser.close();
    await server.close();
    if (!args.keep) fs.rmSync(work, { recursive: true, force: true });
    else console.log(`kept ${work}`);
  }
  if (failures.length) {
    console.log(`${failures.length} check(s) failed`);
    process.exit(1);
  }
  console.log("all remove and replace checks passed");
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
