// Applies every effect that `pelto-cli list` prints and checks the results in one more browser
// engine (lib/engines/: firefox or webkit; chromium works too). The pages are served from a
// loopback HTTP server (lib/serve.js). One browser serves every page, in turn:
//   defaults  the effect with its default values on sample.htm, then the effect's own check;
//   hostile   every text the user can type set to the hostile value, on the Windows-1252 and
//             the UTF-8 sample page, judged as in run-checks.js (lib/hostile.js), with
//             reduced motion asked for (a second browser, since the engines set it at start);
//   strict    the effect with its default values on the UTF-8 sample page under a strict
//             Content-Security-Policy (lib/strict-policy.js): its check, and no violation;
//   all       every effect applied in turn to one page, every check on that page.
// Every page fails on an uncaught exception, a console error, a failed resource load or a
// placeholder left in the written files. A check that reaches for what the engine does not offer
// (lib/engines/check-page.js) is judged up to that point and reported; the page's errors count.
//
//   node engine-checks.js --engine firefox|webkit --cli PATH/pelto-cli --home PROGRAM_FOLDER
//        [--only ID,ID...] [--keep] [--screenshots FOLDER]
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";
import { launchEngine, ENGINES } from "./lib/engines/index.js";
import { checkPage } from "./lib/engines/check-page.js";
import { COLLECTOR_SOURCE } from "./lib/engines/collector.js";
import { serveFolder } from "./lib/serve.js";
import { SAMPLE_PAGES, makeHome, listScripts, applyEffect, leftPlaceholders, pageWithMarks } from "./lib/program.js";
import { libraryScripts, locationItems, pageLinkTexts } from "./lib/library.js";
import { hostilePlan, writeTemplate, placePictures, snapshotScript, judgeHostile } from "./lib/hostile.js";
import { writeStrictPage, POLICY } from "./lib/strict-policy.js";

const here = path.dirname(fileURLToPath(import.meta.url));
const PACKAGE_JSON = path.join(here, "package.json");
const VIEWPORT = { width: 1200, height: 800 };
const CHECK_TIMEOUT_MS = 30000;
const SETTLE_MS = 300;
// Time a page with hostile values gets after loading before it is read.
const HOSTILE_WAIT_MS = 150;

function parseArgs(argv) {
  const args = { only: null, keep: false, screenshots: null };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === "--engine") args.engine = argv[++i];
    else if (a === "--cli") args.cli = argv[++i];
    else if (a === "--home") args.home = argv[++i];
    else if (a === "--only") args.only = new Set(argv[++i].split(",").filter(Boolean));
    else if (a === "--keep") args.keep = true;
    else if (a === "--screenshots") args.screenshots = path.resolve(argv[++i]);
    else throw new Error(`unknown argument ${a}`);
  }
  if (!args.engine || !args.cli || !args.home) throw new Error("usage: engine-checks.js --engine NAME --cli PATH --home PROGRAM_FOLDER [--only ID,...] [--keep] [--screenshots FOLDER]");
  if (!ENGINES[args.engine]) throw new Error(`unknown engine "${args.engine}" (known: ${Object.keys(ENGINES).join(", ")})`);
  return args;
}

// The drivers come from this folder's package-lock.json; install on first use. None of the
// packages downloads a browser (PUPPETEER_SKIP_DOWNLOAD in case a later version tries).
function ensurePackages() {
  const require = createRequire(PACKAGE_JSON);
  try {
    for (const p of ["playwright-core", "puppeteer-core", "selenium-webdriver"]) require.resolve(p);
  } catch {
    console.log("installing the browser drivers (npm ci) ...");
    const r = spawnSync("npm", ["ci", "--no-audit", "--no-fund"], { cwd: here, stdio: "inherit", env: { ...process.env, PUPPETEER_SKIP_DOWNLOAD: "1" } });
    if (r.status !== 0) throw new Error("npm ci failed in " + here);
  }
}

const firstLine = (e) => String(e && e.message ? e.message : e).split("\n")[0];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

async function loadCheck(id) {
  const file = path.join(here, "checks", `${id}.js`);
  if (!fs.existsSync(file)) throw new Error(`no check file checks/${id}.js`);
  const mod = await import(pathToFileURL(file).href);
  const check = mod.check || (mod.default && mod.default.check);
  if (typeof check !== "function") throw new Error(`checks/${id}.js exports no check(page) function`);
  return check;
}

async function withTimeout(promise, ms, what) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what} timed out after ${ms / 1000} s`)), ms);
  });
  try {
    return await Promise.race([promise, timeout]);
  } finally {
    clearTimeout(timer);
  }
}

// Runs an effect's check on an open tab. Returns { errors, notOffered }: a check that reached
// for something the engine does not offer passed what came before (a failure would have thrown
// first) and is not judged on what it threw after.
async function runCheck(tab, id, context) {
  const view = checkPage(tab, VIEWPORT, context.engine);
  await tab.refocus();
  await view.ready();
  let error = null;
  try {
    await withTimeout((await loadCheck(id))(view.page, context), CHECK_TIMEOUT_MS, "the check");
  } catch (e) {
    error = firstLine(e);
  }
  if (view.usedNotOffered.length) return { errors: [], notOffered: view.usedNotOffered };
  return { errors: error ? [error] : [], notOffered: [] };
}

// Leaves the shared page as a reader would find it before the next check.
async function tidy(tab) {
  await tab.refocus().catch(() => {});
  await tab.press("Escape", []).catch(() => {});
  await tab.mouseMove(0, 0, 1).catch(() => {});
  await tab.evaluate("(document.activeElement && document.activeElement.blur && document.activeElement.blur(), window.scrollTo(0, 0), 0)").catch(() => {});
  await sleep(100);
}

// Opens `file`, lets `use(tab)` work on it, and returns what it gave back with the page's
// problems (the engine's, and the server's failed requests) and the URLs that loaded.
async function visit(engine, server, file, use) {
  const mark = server.mark();
  const tab = await engine.open(server.url(file));
  try {
    await sleep(SETTLE_MS);
    const value = await use(tab);
    await sleep(200);
    const problems = [...new Set([...(await tab.problems()), ...server.failedSince(mark)])];
    return { value, problems, loaded: server.loadedSince(mark) };
  } finally {
    await tab.close().catch(() => {});
  }
}

// ---------------------------------------------------------------- the hostile values

function applyHostile(args, home, id, sample, dir, script, round, only) {
  const pagePath = path.join(home, sample.file);
  const into = path.join(dir, `hostile-${sample.file.replace(/\.htm$/, "")}-${round}`);
  fs.mkdirSync(into, { recursive: true });
  const plan = hostilePlan(script.blocks, pageLinkTexts(fs.readFileSync(pagePath, "latin1")), into, only);
  const template = `${into}.p01`;
  writeTemplate(plan, template);
  const result = applyEffect(args.cli, home, id, pagePath, into, ["--values", template]);
  placePictures(plan, into);
  return { plan, result, into };
}

const snapshot = (tab) => tab.evaluate(`(${snapshotScript.toString()})()`);

// One effect with hostile values on both sample pages; a value that shows nowhere is applied
// once more alone, the other parameters at their defaults.
async function checkHostile(engine, server, args, home, id, dir, bare, calibration, script) {
  const found = new Map(SAMPLE_PAGES.map((sample) => [sample, []]));
  const run = async (samples, round, only) => {
    const nowhere = new Map();
    for (const sample of samples) {
      try {
        const a = applyHostile(args, home, id, sample, dir, script, round, only && only.get(sample));
        found.get(sample).push(...leftPlaceholders(a.into).map((p) => `placeholder left in ${p}`));
        const seen = await visit(engine, server, a.result, async (tab) => {
          await sleep(HOSTILE_WAIT_MS);
          return snapshot(tab);
        });
        const judged = judgeHostile({ plan: a.plan, snap: seen.value, bare: bare[sample.file], requests: seen.loaded, calibration });
        found.get(sample).push(...judged.errors, ...seen.problems);
        if (judged.nowhere.length) nowhere.set(sample, judged.nowhere);
      } catch (e) {
        found.get(sample).push(firstLine(e));
      }
    }
    return nowhere;
  };
  const first = await run(SAMPLE_PAGES, "together", null);
  if (first.size) {
    const only = new Map([...first].map(([sample, probes]) => [sample, new Set(probes.map((p) => p.param))]));
    const second = await run([...first.keys()], "alone", only);
    for (const [sample, probes] of second) for (const p of probes) found.get(sample).push(`${p.label} is not shown as typed (found nowhere, also when set alone)`);
  }
  return found;
}

// ---------------------------------------------------------------- main

async function main() {
  const args = parseArgs(process.argv.slice(2));
  ensurePackages();
  const work = fs.mkdtempSync(path.join(os.tmpdir(), `pelto-${args.engine}-`));
  try {
    return await checkAll(args, work);
  } finally {
    if (args.keep) console.log(`pages kept in ${work}`);
    else fs.rmSync(work, { recursive: true, force: true });
  }
}

async function checkAll(args, work) {
  const home = makeHome(args.home, work);
  const library = libraryScripts(home);
  let scripts = listScripts(args.cli, home);
  if (args.only) scripts = scripts.filter((s) => args.only.has(s.id));
  if (scripts.length === 0) throw new Error("pelto-cli list printed no scripts");
  if (args.screenshots) fs.mkdirSync(args.screenshots, { recursive: true });
  const results = new Map(scripts.map((s) => [s.id, { script: s, errors: [], notes: [], ms: 0 }]));
  const fail = (id, stage, msg) => results.get(id).errors.push(`${stage}: ${msg}`);
  const noteNotOffered = (id, stage, members) => results.get(id).notes.push(`${stage}: the check passed up to ${members.join(", ")}, which ${args.engine} does not offer here`);
  const timed = (id, t0) => (results.get(id).ms += Date.now() - t0);
  const started = Date.now();
  const onces = new Map();
  const phases = [];

  let options = { reducedMotion: false, viewport: VIEWPORT };
  let engine = await launchEngine(args.engine, options, PACKAGE_JSON);
  // A browser that ended (or stopped answering) while an effect was checked fails that effect
  // with how it went; the effects after it get a new browser instead of its closed connection.
  const survived = async (id, stage) => {
    const gone = await engine.lost();
    if (!gone) return;
    fail(id, stage, `${gone} while this effect was checked`);
    await engine.close().catch(() => {});
    engine = await launchEngine(args.engine, options, PACKAGE_JSON);
  };
  const server = await serveFolder(work, { inject: engine.collectsInPage ? { source: COLLECTOR_SOURCE } : null });
  try {
    // The defaults: each effect alone on sample.htm.
    let t = Date.now();
    for (const s of scripts) {
      const t0 = Date.now();
      try {
        const once = applyEffect(args.cli, home, s.id, path.join(home, "sample.htm"), path.join(work, s.id, "once"));
        onces.set(s.id, once);
        for (const p of leftPlaceholders(path.dirname(once))) fail(s.id, "defaults", `placeholder left in ${p}`);
        const seen = await visit(engine, server, once, async (tab) => {
          if (args.screenshots) await tab.screenshot(path.join(args.screenshots, `${s.id}.png`));
          return runCheck(tab, s.id, { copies: 1, all: false, scriptId: s.id, engine: args.engine });
        });
        for (const e of [...seen.value.errors, ...seen.problems]) fail(s.id, "defaults", e);
        if (seen.value.notOffered.length) noteNotOffered(s.id, "defaults", seen.value.notOffered);
      } catch (e) {
        fail(s.id, "defaults", firstLine(e));
      }
      await survived(s.id, "defaults");
      timed(s.id, t0);
    }
    phases.push(`defaults ${Math.round((Date.now() - t) / 1000)} s`);

    // Under the strict policy. Every engine's pages get the collector here, which counts the
    // policy's violations (the engines' drivers do not all report them).
    t = Date.now();
    const strictServer = engine.collectsInPage ? server : await serveFolder(work, { inject: { source: COLLECTOR_SOURCE } });
    try {
      for (const s of scripts) {
        const t0 = Date.now();
        try {
          const dir = path.join(work, s.id);
          const pagePath = writeStrictPage(path.join(home, "sample-utf8.htm"), path.join(dir, "strict-page", "sample.htm"));
          const once = applyEffect(args.cli, home, s.id, pagePath, path.join(dir, "strict-once"));
          fs.copyFileSync(path.join(dir, "strict-page", "page.css"), path.join(path.dirname(once), "page.css"));
          for (const p of leftPlaceholders(path.dirname(once))) fail(s.id, "strict policy", `placeholder left in ${p}`);
          const seen = await visit(engine, strictServer, once, async (tab) => {
            const policy = await tab.evaluate(`(function () { var m = document.querySelector('meta[http-equiv="Content-Security-Policy"]'); return m ? m.content : ""; })()`);
            const r = await runCheck(tab, s.id, { copies: 1, all: false, scriptId: s.id, engine: args.engine, strict: true });
            if (policy !== POLICY) r.errors.push(`the page does not carry the policy (${policy || "none"})`);
            // Where the driver reports the page's problems itself, only the violations are added.
            if (!engine.collectsInPage) {
              const violations = await tab.evaluate("(window.__peltoProblems || []).filter(function (p) { return p.indexOf('content security policy') >= 0; })");
              r.errors.push(...(violations || []));
            }
            return r;
          });
          for (const e of [...seen.value.errors, ...seen.problems]) fail(s.id, "strict policy", e);
          if (seen.value.notOffered.length) noteNotOffered(s.id, "strict policy", seen.value.notOffered);
        } catch (e) {
          fail(s.id, "strict policy", firstLine(e));
        }
        await survived(s.id, "strict policy");
        timed(s.id, t0);
      }
    } finally {
      if (strictServer !== server) await strictServer.close();
    }
    phases.push(`strict policy ${Math.round((Date.now() - t) / 1000)} s`);

    // Every effect on one page, each applied to the result of the one before.
    t = Date.now();
    const allDir = path.join(work, "all");
    let current = pageWithMarks(home, locationItems(library), path.join(allDir, "start.htm"));
    const applied = [];
    for (const s of scripts) {
      try {
        const result = applyEffect(args.cli, home, s.id, current, allDir);
        const next = path.join(allDir, `after-${applied.length + 1}.htm`);
        fs.renameSync(result, next);
        current = next;
        applied.push(s);
      } catch (e) {
        fail(s.id, "all", firstLine(e));
      }
    }
    if (applied.length) {
      const allPage = path.join(allDir, "result.htm");
      fs.copyFileSync(current, allPage);
      const placeholders = leftPlaceholders(allDir).map((p) => `placeholder left in ${p}`);
      let checking = null;
      try {
        const seen = await visit(engine, server, allPage, async (tab) => {
          if (args.screenshots) await tab.screenshot(path.join(args.screenshots, "all.png"));
          for (const s of applied) {
            checking = s;
            const r = await runCheck(tab, s.id, { copies: 1, all: true, scriptId: s.id, engine: args.engine });
            for (const e of r.errors) fail(s.id, "all", e);
            if (r.notOffered.length) noteNotOffered(s.id, "all", r.notOffered);
            await tidy(tab);
          }
          checking = null;
        });
        // Errors of the shared page cannot be told apart by effect: they fail every effect.
        for (const p of [...placeholders, ...seen.problems]) for (const s of applied) fail(s.id, "all", p);
      } catch (e) {
        // The shared page could not be read to the end: every effect on it fails.
        const gone = await engine.lost();
        const why = `${gone || firstLine(e)}${checking ? ` while ${checking.id} was checked` : ""}`;
        for (const s of applied) fail(s.id, "all", `the page of all effects: ${why}`);
      }
    }
    phases.push(`all together ${Math.round((Date.now() - t) / 1000)} s`);
    await engine.close().catch((e) => console.error(`closing ${args.engine}: ${firstLine(e)}`));
    engine = null;

    // The hostile values, with reduced motion asked for, so moving texts stand still.
    t = Date.now();
    options = { reducedMotion: true, viewport: VIEWPORT };
    engine = await launchEngine(args.engine, options, PACKAGE_JSON);
    const bare = {};
    for (const sample of SAMPLE_PAGES) {
      const seen = await visit(engine, server, path.join(home, sample.file), snapshot);
      if (seen.problems.length) throw new Error(`the bare ${sample.file} has problems in ${args.engine}: ${seen.problems.join("; ")}`);
      bare[sample.file] = seen.value;
    }
    for (const s of scripts) {
      const t0 = Date.now();
      if (!library.has(s.id)) fail(s.id, "hostile values", `no header with the id ${s.id} in data/`);
      else if (!onces.has(s.id)) fail(s.id, "hostile values", "the page with default values was not made");
      else {
        try {
          // What the effect shows with its default values, read the same way.
          const seen = await visit(engine, server, onces.get(s.id), async (tab) => {
            await sleep(HOSTILE_WAIT_MS);
            return snapshot(tab);
          });
          const calibration = { snap: seen.value, requests: seen.loaded, bare: bare["sample.htm"] };
          const found = await checkHostile(engine, server, args, home, s.id, path.join(work, s.id), bare, calibration, library.get(s.id));
          for (const [sample, errors] of found) for (const e of errors) fail(s.id, `hostile values (${sample.name})`, e);
        } catch (e) {
          fail(s.id, "hostile values", firstLine(e));
        }
      }
      await survived(s.id, "hostile values");
      timed(s.id, t0);
    }
    phases.push(`hostile values ${Math.round((Date.now() - t) / 1000)} s`);
  } finally {
    if (engine) await engine.close().catch((e) => console.error(`closing ${args.engine}: ${firstLine(e)}`));
    await server.close();
  }

  let passed = 0;
  let failed = 0;
  for (const { script: s, errors, notes, ms } of results.values()) {
    const line = `${s.id.padEnd(24)} ${(ms / 1000).toFixed(1).padStart(5)} s  ${s.category} / ${s.name}`;
    if (errors.length === 0) passed++;
    else failed++;
    console.log(`${errors.length ? "FAIL" : "PASS"}  ${line}`);
    for (const e of [...new Set(errors)]) console.log(`        ${e}`);
    for (const n of notes) console.log(`        (${n})`);
  }
  console.log(`(${scripts.length} effects in ${args.engine}: ${phases.join(", ")}; ${Math.round((Date.now() - started) / 1000)} s in all)`);
  console.log(`${args.engine}: ${passed} passed, ${failed} failed`);
  return failed === 0 ? 0 : 1;
}

main().then(
  (code) => process.exit(code),
  (e) => {
    console.error(`browser checks could not run: ${e.message}`);
    process.exit(2);
  },
);
