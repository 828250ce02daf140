// Applies every effect that `pelto-cli list` prints to the sample page and checks the result in
// headless Chromium. A page fails on any uncaught exception, console error or failed resource
// load, and then on what each pass looks for:
//   once            the effect's own check (checks/<ScriptId>.js, `export async function
//                   check(page, context)`, which throws when the effect did not happen);
//   reduced motion  the same page for a reader who asks for reduced motion: nothing moves by
//                   itself, neither CSS animations nor script-driven motion (lib/motion.js);
//   host styles     the sample page's own link, hover and transition styles survive (lib/host-styles.js);
//   twice           applied twice to one page (repeat 0, then repeat 1 on the first result);
//   hostile values  every text the user can type set to characters that break markup, scripts and
//                   encodings, on the Windows-1252 and on the UTF-8 sample page (lib/hostile.js);
//   all             all effects together on one page: every check, the host styles, and an
//                   accessibility scan with no serious or critical violation that the bare
//                   sample page does not have already (lib/axe-scan.js).
//
//   node run-checks.js --cli PATH/pelto-cli --home PROGRAM_FOLDER [--only ID,ID...] [--jobs N] [--keep]
//
// The program folder is copied to a temporary folder first (one copy per job, since every apply
// empties the output folder), so the build tree is never written.
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { createRequire } from "node:module";
import { libraryScripts, locationItems, pageLinkTexts } from "./lib/library.js";
import { hostilePlan, writeTemplate, placePictures, snapshotScript, judgeHostile } from "./lib/hostile.js";
import { findMotion } from "./lib/motion.js";
import { readHostStyles, compareHostStyles } from "./lib/host-styles.js";
import { axeScriptPath, axeViolations, marksScript } from "./lib/axe-scan.js";
import { placeOwnPages, bareMeasures, checkVisitors } from "./lib/visitors.js";
import { checkUnicodeText } from "./lib/unicode-text.js";
import { checkStrictPolicy } from "./lib/strict-policy.js";

const here = path.dirname(fileURLToPath(import.meta.url));
const CHROMIUM = "/usr/bin/chromium";
const CHECK_TIMEOUT_MS = 30000;
const SETTLE_MS = 300;
// Time between the two samples of the reduced-motion pass.
const MOTION_GAP_MS = 700;
// Time a page with hostile values gets after loading before it is read.
const HOSTILE_WAIT_MS = 150;
// The two sample pages: Windows-1252 and UTF-8.
const PAGES = [
  { file: "sample.htm", name: "Windows-1252 page" },
  { file: "sample-utf8.htm", name: "UTF-8 page" },
];

function parseArgs(argv) {
  const args = { only: null, keep: false, jobs: 2, strictOnly: false };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === "--cli") args.cli = argv[++i];
    else if (a === "--home") args.home = argv[++i];
    else if (a === "--only") args.only = new Set(argv[++i].split(",").filter(Boolean));
    else if (a === "--keep") args.keep = true;
    else if (a === "--jobs") args.jobs = Math.max(1, Number(argv[++i]) || 1);
    else if (a === "--strict-only") args.strictOnly = true;
    else throw new Error(`unknown argument ${a}`);
  }
  if (!args.cli || !args.home) throw new Error("usage: run-checks.js --cli PATH --home PROGRAM_FOLDER [--only ID,...] [--jobs N] [--keep] [--strict-only]");
  return args;
}

// playwright-core and axe-core come from this folder's package-lock.json; install on first use.
function loadPlaywright() {
  const require = createRequire(path.join(here, "package.json"));
  try {
    require.resolve("axe-core/axe.min.js");
    return require("playwright-core");
  } catch {
    console.log("installing playwright-core and axe-core (npm ci) ...");
    const r = spawnSync("npm", ["ci", "--no-audit", "--no-fund"], { cwd: here, stdio: "inherit" });
    if (r.status !== 0) throw new Error("npm ci failed in " + here);
    return require("playwright-core");
  }
}

// ---------------------------------------------------------------- the program folder and the CLI

function makeHome(source, work) {
  const home = path.join(work, "home");
  fs.mkdirSync(home, { recursive: true });
  for (const name of ["data", "images", "help", "userdata"]) {
    if (fs.existsSync(path.join(source, name))) fs.cpSync(path.join(source, name), path.join(home, name), { recursive: true });
  }
  for (const { file } of PAGES) {
    if (!fs.existsSync(path.join(source, file))) throw new Error(`${path.join(source, file)} is missing (build the pelto_data target)`);
    fs.copyFileSync(path.join(source, file), path.join(home, file));
  }
  fs.mkdirSync(path.join(home, "output"), { recursive: true });
  fs.mkdirSync(path.join(home, "userdata"), { recursive: true });
  return home;
}

function cli(args, home, cliArgs) {
  const r = spawnSync(args.cli, ["--home", home, ...cliArgs], { encoding: "latin1", timeout: 60000 });
  if (r.error) throw new Error(`pelto-cli ${cliArgs.join(" ")}: ${r.error.message}`);
  if (r.status !== 0) throw new Error(`pelto-cli ${cliArgs.join(" ")} exited with ${r.status}: ${(r.stderr || r.stdout).trim()}`);
  return r.stdout;
}

function listScripts(args, home) {
  return cli(args, home, ["list"])
    .split(/\r?\n/)
    .filter((l) => l.trim())
    .map((l) => {
      const [index, id, category, name] = l.split("\t");
      return { index: Number(index), id, category, name };
    });
}

// Applies one effect (default values, or those of `extra` arguments) and copies everything the
// apply wrote (the result page and the external files) into `into`. Returns the path of the
// copied result page.
function apply(args, home, id, pagePath, repeat, into, extra = []) {
  const out = cli(args, home, ["apply", id, pagePath, "--repeat", String(repeat), "--mode", "preview", "--yes", ...extra]);
  const lines = out.split(/\r?\n/).filter((l) => l.trim());
  const result = lines[lines.length - 1].trim();
  if (!fs.existsSync(result)) throw new Error(`pelto-cli apply printed ${result}, which does not exist`);
  fs.mkdirSync(into, { recursive: true });
  const outputDir = path.dirname(result);
  for (const f of fs.readdirSync(outputDir)) fs.copyFileSync(path.join(outputDir, f), path.join(into, f));
  return path.join(into, path.basename(result));
}

// A placeholder the expansion left behind shows as the marks 174 and 175 in the written files.
function leftPlaceholders(dir) {
  const found = [];
  for (const f of fs.readdirSync(dir)) {
    if (/\.(gif|jpe?g|png|ico|bmp|webp)$/i.test(f) || /\.p\d\d$/.test(f)) continue;
    const text = fs.readFileSync(path.join(dir, f), "latin1");
    const m = /\u00ae[^\u00ae\u00af\r\n]{0,60}\u00af/.exec(text);
    if (m) found.push(`${f}: ${m[0]}`);
  }
  return found;
}

// The sample page with `marks` lines of "*****" where it has one.
function pageWithMarks(home, marks, target) {
  const text = fs.readFileSync(path.join(home, "sample.htm"), "latin1");
  const lines = Array.from({ length: Math.max(1, marks) }, () => "*****").join("\r\n");
  const i = text.indexOf("*****");
  if (i < 0) throw new Error("sample.htm has no ***** line");
  fs.mkdirSync(path.dirname(target), { recursive: true });
  fs.writeFileSync(target, text.slice(0, i) + lines + text.slice(i + 5), "latin1");
  return target;
}

// ---------------------------------------------------------------- the browser side

// Opens a page in a context of its own; `requests` collects the URLs that loaded.
async function openPage(browser, file, options = {}, requests = null) {
  const context = await browser.newContext({ viewport: { width: 1200, height: 800 }, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on("pageerror", (e) => problems.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") problems.push(`console error: ${m.text()}`);
  });
  page.on("requestfailed", (r) => problems.push(`failed to load ${r.url().slice(0, 160)}: ${r.failure() ? r.failure().errorText : "?"}`));
  if (requests) page.on("requestfinished", (r) => requests.push(r.url()));
  await page.goto(pathToFileURL(file).href, { waitUntil: "load", timeout: 30000 });
  await page.waitForTimeout(SETTLE_MS);
  return { context, page, problems };
}

async function loadCheckModule(id) {
  const file = path.join(here, "checks", `${id}.js`);
  if (!fs.existsSync(file)) throw new Error(`no check file checks/${id}.js`);
  return import(pathToFileURL(file).href);
}

async function loadCheck(id) {
  const mod = await loadCheckModule(id);
  const check = mod.check || (mod.default && mod.default.check);
  if (typeof check !== "function") throw new Error(`checks/${id}.js exports no check(page) function`);
  return check;
}

async function runCheck(check, page, context) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`check timed out after ${CHECK_TIMEOUT_MS / 1000} s`)), CHECK_TIMEOUT_MS);
  });
  try {
    await Promise.race([check(page, context), timeout]);
  } finally {
    clearTimeout(timer);
  }
}

// Leaves the page as a reader would find it before the next check.
async function tidy(page) {
  await page.keyboard.press("Escape").catch(() => {});
  await page.mouse.move(0, 0).catch(() => {});
  await page
    .evaluate(() => {
      if (document.activeElement && document.activeElement.blur) document.activeElement.blur();
      window.scrollTo(0, 0);
    })
    .catch(() => {});
  await page.waitForTimeout(100);
}

async function checkPage(browser, file, id, context) {
  const errors = leftPlaceholders(path.dirname(file)).map((p) => `placeholder left in ${p}`);
  const { context: ctx, page, problems } = await openPage(browser, file);
  try {
    const check = await loadCheck(id);
    await runCheck(check, page, context);
    await page.waitForTimeout(200);
  } catch (e) {
    errors.push(e.message.split("\n")[0]);
  } finally {
    errors.push(...problems);
    await ctx.close();
  }
  return errors;
}

// The page for a reader who asks for reduced motion: nothing may move by itself (a check file
// whose effect must move anyway, say a clock's seconds hand, exports reducedMotionExempt with
// the reason). The same visit reads the page's own styles, what the effect shows with its
// default values (for the hostile-values pass) and the marks the effect adds (for the scan).
async function visitStill(browser, diffPage, file, id, bare) {
  const result = { motion: [], styles: [], snap: null, requests: [], marks: [] };
  const mod = await loadCheckModule(id).catch(() => ({}));
  const { context: ctx, page, problems } = await openPage(browser, file, { reducedMotion: "reduce" }, result.requests);
  try {
    if (!mod.reducedMotionExempt) result.motion.push(...(await findMotion(page, diffPage, MOTION_GAP_MS)));
    result.snap = await page.evaluate(snapshotScript);
    const bareMarks = new Set(bare.marks);
    result.marks = (await page.evaluate(marksScript)).filter((m) => !bareMarks.has(m));
    result.styles.push(...compareHostStyles(bare.styles, await readHostStyles(page)));
  } catch (e) {
    result.motion.push(e.message.split("\n")[0]);
  } finally {
    result.motion.push(...problems);
    await ctx.close();
  }
  return result;
}

// Applies one effect with hostile values to one sample page (`only`: just those parameters).
function applyHostile(args, home, id, sample, dir, script, round, only) {
  const pagePath = path.join(home, sample.file);
  const into = path.join(dir, `hostile-${sample.file.replace(/\.htm$/, "")}-${round}`);
  fs.mkdirSync(into, { recursive: true });
  const plan = hostilePlan(script.blocks, pageLinkTexts(fs.readFileSync(pagePath, "latin1")), into, only);
  const template = `${into}.p01`;
  writeTemplate(plan, template);
  const result = apply(args, home, id, pagePath, 0, into, ["--values", template]);
  placePictures(plan, into);
  return { plan, result, into };
}

async function visitHostile(browser, { plan, result, into }, bareSnap, calibration) {
  const errors = leftPlaceholders(into).map((p) => `placeholder left in ${p}`);
  const requests = [];
  const { context: ctx, page, problems } = await openPage(browser, result, { reducedMotion: "reduce" }, requests);
  try {
    await page.waitForTimeout(HOSTILE_WAIT_MS);
    const judged = judgeHostile({ plan, snap: await page.evaluate(snapshotScript), bare: bareSnap, requests, calibration });
    return { errors: [...errors, ...judged.errors, ...problems], nowhere: judged.nowhere };
  } finally {
    await ctx.close();
  }
}

// One effect with hostile values on both sample pages (applied one after the other, since they
// share the output folder, then loaded side by side). A value that shows nowhere is applied once
// more alone, the other parameters at their defaults.
async function checkHostile(browser, args, home, id, dir, bare, calibration, script) {
  const found = new Map(PAGES.map((sample) => [sample, []]));
  const run = async (samples, round, only) => {
    const applied = new Map();
    for (const sample of samples) {
      try {
        applied.set(sample, applyHostile(args, home, id, sample, dir, script, round, only && only.get(sample)));
      } catch (e) {
        found.get(sample).push(e.message.split("\n")[0]);
      }
    }
    const nowhere = new Map();
    await Promise.all(
      [...applied].map(async ([sample, a]) => {
        try {
          const r = await visitHostile(browser, a, bare[sample.file].snap, calibration);
          found.get(sample).push(...r.errors);
          if (r.nowhere.length) nowhere.set(sample, r.nowhere);
        } catch (e) {
          found.get(sample).push(e.message.split("\n")[0]);
        }
      }),
    );
    return nowhere;
  };
  const first = await run(PAGES, "together", null);
  if (first.size) {
    const only = new Map([...first].map(([sample, probes]) => [sample, new Set(probes.map((p) => p.param))]));
    const second = await run([...first.keys()], "alone", only);
    for (const [sample, probes] of second) for (const p of probes) found.get(sample).push(`${p.label} is not shown as typed (found nowhere, also when set alone)`);
  }
  return found;
}

// What the bare sample pages look like: text, own styles, marks and accessibility findings.
async function visitBare(browser, home, withAxe) {
  const bare = {};
  for (const sample of PAGES) {
    const { context: ctx, page, problems } = await openPage(browser, path.join(home, sample.file), { reducedMotion: "reduce" });
    try {
      if (problems.length) throw new Error(`the bare ${sample.file} has problems: ${problems.join("; ")}`);
      const entry = { snap: await page.evaluate(snapshotScript), marks: await page.evaluate(marksScript) };
      if (sample.file === "sample.htm") {
        entry.styles = await readHostStyles(page);
        if (withAxe) {
          await page.reload({ waitUntil: "load" });
          entry.axe = await axeViolations(page, axeScriptPath(here));
        }
      }
      bare[sample.file] = entry;
    } finally {
      await ctx.close();
    }
  }
  return bare;
}

// ---------------------------------------------------------------- main

async function main() {
  const args = parseArgs(process.argv.slice(2));
  if (!fs.existsSync(CHROMIUM)) throw new Error(`${CHROMIUM} is missing (apt-get install chromium)`);
  const { chromium } = loadPlaywright();
  const work = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-browser-"));
  const homes = Array.from({ length: args.jobs }, (_, i) => makeHome(args.home, path.join(work, `job${i + 1}`)));
  for (const h of homes) placeOwnPages(path.join(here, "..", "..", "effects"), h);
  const home = homes[0];
  const library = libraryScripts(home);
  let scripts = listScripts(args, home);
  if (args.only) scripts = scripts.filter((s) => args.only.has(s.id));
  if (scripts.length === 0) throw new Error("pelto-cli list printed no scripts");
  const started = Date.now();
  const browser = await chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    // Playwright gives every launch a fresh, temporary user data folder of its own.
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const results = new Map(scripts.map((s) => [s.id, { script: s, errors: [], ms: 0, marks: [] }]));
  const fail = (id, stage, msg) => results.get(id).errors.push(`${stage}: ${msg}`);
  try {
    const diffPage = await browser.newPage();
    const bare = await visitBare(browser, home, true);
    const bareMain = bare["sample.htm"];
    const bareVisitors = bareMeasures(browser, home);
    // Once, twice and with hostile values; each job works with its own program folder.
    const queue = [...scripts];
    const job = async (jobHome) => {
      for (let s = queue.shift(); s; s = queue.shift()) {
        const dir = path.join(work, s.id);
        const t0 = Date.now();
        // Under a strict Content-Security-Policy (lib/strict-policy.js).
        const strict = await strictRows(browser, args, jobHome, s, dir, library.get(s.id));
        for (const e of strict) fail(s.id, "strict policy", e);
        if (args.strictOnly) {
          results.get(s.id).ms = Date.now() - t0;
          continue;
        }
        let calibration = null;
        try {
          const once = apply(args, jobHome, s.id, path.join(jobHome, "sample.htm"), 0, path.join(dir, "once"));
          // The reduced-motion visit loads its own copy of the page, while the check goes on.
          const still = visitStill(browser, diffPage, once, s.id, bareMain);
          for (const e of await checkPage(browser, once, s.id, { copies: 1, all: false, scriptId: s.id })) fail(s.id, "once", e);
          const seen = await still;
          for (const e of seen.motion) fail(s.id, "reduced motion", e);
          for (const e of seen.styles) fail(s.id, "host styles", e);
          results.get(s.id).marks = seen.marks;
          calibration = { snap: seen.snap, requests: seen.requests, bare: bareMain.snap };
        } catch (e) {
          fail(s.id, "once", e.message);
        }
        // The twice page is checked while the hostile values are applied and loaded.
        let twice = Promise.resolve([]);
        try {
          const page2 = pageWithMarks(jobHome, 2, path.join(dir, "twice-page", "sample.htm"));
          const first = apply(args, jobHome, s.id, page2, 0, path.join(dir, "twice"));
          const firstPage = path.join(dir, "twice", "first.htm");
          fs.renameSync(first, firstPage);
          const second = apply(args, jobHome, s.id, firstPage, 1, path.join(dir, "twice"));
          twice = checkPage(browser, second, s.id, { copies: 2, all: false, scriptId: s.id }).catch((e) => [e.message]);
        } catch (e) {
          fail(s.id, "twice", e.message);
        }
        if (!library.has(s.id)) fail(s.id, "hostile values", `no header with the id ${s.id} in data/`);
        else if (!calibration) fail(s.id, "hostile values", "the page with default values did not load");
        else {
          const found = await checkHostile(browser, args, jobHome, s.id, dir, bare, calibration, library.get(s.id));
          for (const [sample, errors] of found) for (const e of errors) fail(s.id, `hostile values (${sample.name})`, e);
        }
        for (const e of await twice) fail(s.id, "twice", e);
        // Touch, dark pages, a long page, controls and main-thread time (lib/visitors.js).
        const applyTo = (name, into) => apply(args, jobHome, s.id, path.join(jobHome, name), 0, into);
        for (const e of await checkVisitors({ browser, id: s.id, dir, applyTo, bare: bareVisitors })) fail(s.id, "visitors", e);
        // Text in any script: whole characters while typing, right-to-left text (lib/unicode-text.js).
        const applyWith = (name, template, into) => apply(args, jobHome, s.id, path.join(jobHome, name), 0, into, ["--values", template]);
        const unicode = await checkUnicodeText({ browser, id: s.id, dir, applyWith });
        for (const e of unicode.errors) fail(s.id, "text in any script", e);
        if (unicode.skipped) console.log(`SKIP  ${s.id}: text in any script: ${unicode.skipped}`);
        results.get(s.id).ms = Date.now() - t0;
      }
    };
    await Promise.all(homes.map(job));
    if (args.strictOnly) return report(results, scripts, started, args, work);

    // Every effect at once, each applied to the result of the one before.
    const allDir = path.join(work, "all");
    let current = pageWithMarks(home, locationItems(library), path.join(allDir, "start.htm"));
    const applied = [];
    for (const s of scripts) {
      try {
        const result = apply(args, home, s.id, current, 0, allDir);
        const next = path.join(allDir, `after-${applied.length + 1}.htm`);
        fs.renameSync(result, next);
        current = next;
        applied.push(s);
      } catch (e) {
        fail(s.id, "all", e.message);
      }
    }
    const allPage = path.join(allDir, "result.htm");
    fs.copyFileSync(current, allPage);
    const { context: ctx, page, problems } = await openPage(browser, allPage);
    try {
      for (const p of leftPlaceholders(allDir)) problems.push(`placeholder left in ${p}`);
      for (const s of applied) {
        try {
          await runCheck(await loadCheck(s.id), page, { copies: 1, all: true, scriptId: s.id });
        } catch (e) {
          fail(s.id, "all", e.message.split("\n")[0]);
        }
        await tidy(page);
      }
      // Page errors of the shared page cannot be told apart by effect: they fail every effect.
      await page.waitForTimeout(200);
      for (const p of problems) for (const s of applied) fail(s.id, "all", p);
    } finally {
      await ctx.close();
    }
    if (applied.length) await checkAllPage(browser, allPage, applied, bareMain, results, fail);
  } finally {
    await browser.close();
  }
  return report(results, scripts, started, args, work);
}

function report(results, scripts, started, args, work) {
  let passed = 0;
  let failed = 0;
  for (const { script: s, errors, ms } of results.values()) {
    const line = `${s.id.padEnd(24)} ${(ms / 1000).toFixed(1).padStart(5)} s  ${s.category} / ${s.name}`;
    if (errors.length === 0) {
      passed++;
      console.log(`PASS  ${line}`);
    } else {
      failed++;
      console.log(`FAIL  ${line}`);
      for (const e of [...new Set(errors)]) console.log(`        ${e}`);
    }
  }
  console.log(`(${scripts.length} effects applied once, twice, with hostile values on two pages and all together in ${Math.round((Date.now() - started) / 1000)} s)`);
  if (args.keep) console.log(`pages kept in ${work}`);
  else fs.rmSync(work, { recursive: true, force: true });
  console.log(`browser: ${passed} passed, ${failed} failed`);
  return failed === 0 ? 0 : 1;
}

// The strict-policy rows of one effect: default values once and twice, and a page with other
// values (the hostile texts) in the same folder as one with the defaults.
async function strictRows(browser, args, home, s, dir, script) {
  const samplePath = path.join(home, "sample-utf8.htm");
  const applyStrict = (pagePath, repeat, into, extra = []) => apply(args, home, s.id, pagePath, repeat, into, extra);
  const hostile = (pagePath, into) => {
    fs.mkdirSync(into, { recursive: true });
    if (!script) throw new Error(`no header with the id ${s.id} in data/`);
    const plan = hostilePlan(script.blocks, pageLinkTexts(fs.readFileSync(pagePath, "latin1")), into);
    const template = `${into}.p01`;
    writeTemplate(plan, template);
    const result = apply(args, home, s.id, pagePath, 0, into, ["--values", template]);
    placePictures(plan, into);
    return result;
  };
  try {
    const check = await loadCheck(s.id);
    return await checkStrictPolicy({ browser, id: s.id, dir, samplePath, apply: applyStrict, hostile, check: (page, context) => runCheck(check, page, context) });
  } catch (e) {
    return [e.message.split("\n")[0]];
  }
}

// The page with every effect, loaded afresh: the page's own styles, and the accessibility scan.
// A finding is laid at the door of the effect whose mark the element (or its nearest marked
// ancestor) carries, or of every effect when it carries none.
async function checkAllPage(browser, allPage, applied, bareMain, results, fail) {
  // The element's own marks come first, then its ancestors': the nearest mark that some effect
  // added names the effect.
  const blame = (marks) => {
    for (const m of marks) {
      const who = applied.filter((s) => results.get(s.id).marks.includes(m));
      if (who.length) return who;
    }
    return applied;
  };
  {
    const { context: ctx, page } = await openPage(browser, allPage, { reducedMotion: "reduce" });
    try {
      // A finding that an effect's own page showed already is that effect's; any other one
      // comes from effects together and fails them all.
      for (const e of compareHostStyles(bareMain.styles, await readHostStyles(page))) {
        const own = applied.filter((s) => results.get(s.id).errors.includes(`host styles: ${e}`));
        if (own.length === 0) for (const s of applied) fail(s.id, "all, host styles", e);
      }
    } finally {
      await ctx.close();
    }
  }
  const { context: ctx, page } = await openPage(browser, allPage, { reducedMotion: "reduce" });
  try {
    const known = new Set(bareMain.axe.map((v) => v.key));
    for (const v of await axeViolations(page, axeScriptPath(here))) {
      if (known.has(v.key)) continue;
      for (const s of blame(v.marks)) fail(s.id, "all, accessibility", `${v.impact} ${v.rule} (${v.help}): ${v.html}${v.summary ? " - " + v.summary : ""}`);
    }
  } catch (e) {
    for (const s of applied) fail(s.id, "all, accessibility", `the scan did not run: ${e.message.split("\n")[0]}`);
  } finally {
    await ctx.close();
  }
}

main().then(
  (code) => process.exit(code),
  (e) => {
    console.error(`browser checks could not run: ${e.message}`);
    process.exit(2);
  },
);
