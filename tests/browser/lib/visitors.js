// Today's visitors: a phone in the hand, a dark page, a long page read to its end, a busy laptop.
// One table of rows (effect, page, action, expected); a row whose effect is "*" holds for every
// effect. Each effect is applied with its default values to the long page and the dark page of
// our own (beside the sample pages in effects/) and to the sample page; the rows then load the
// results in Chromium and say what went wrong.
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL, fileURLToPath } from "node:url";
import { readContrast, effectPositions, judgeContrast } from "./contrast.js";
import { measureShift } from "./layout-shift.js";
import { serveFolder } from "./serve.js";
import { busyShare, mainThreadAnimationsScript } from "./busy.js";
import { targetsScript, smallTargets, movingButtons } from "./controls.js";

const here = path.dirname(fileURLToPath(import.meta.url));

// The pages of our own: long (it follows the reader's colour scheme) and dark (always).
export const OWN_PAGES = ["sample-long.htm", "sample-dark.htm"];
const PHONE = { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 1 };
const DESKTOP = { viewport: { width: 1200, height: 800 } };
// Layout shift an effect may add on the long page, and main-thread time it may add while moving.
const SHIFT_LIMIT = 0.01;
const BUSY_LIMIT = 0.05;

// Copies the pages of our own from the effect sources into a program folder.
export function placeOwnPages(effectsDir, home) {
  for (const name of OWN_PAGES) fs.copyFileSync(path.join(effectsDir, name), path.join(home, name));
}

async function withPage(browser, file, options, body) {
  const context = await browser.newContext({ ...DESKTOP, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on("pageerror", (e) => problems.push(`uncaught exception: ${e.message}`));
  try {
    await page.goto(pathToFileURL(file).href, { waitUntil: "load", timeout: 30000 });
    await page.waitForTimeout(500);
    return await body(page, context);
  } finally {
    await context.close();
    if (problems.length) throw new Error(problems.join("; "));
  }
}

// A point on plain page text in the viewport, away from links, controls and the effect.
async function quietPoint(page) {
  const p = await page.evaluate(() => {
    for (const el of document.querySelectorAll("main p, main h2, main h3, header p")) {
      if (el.querySelector("a, button, [tabindex], [class*='pelto-']") || el.closest("[class*='pelto-']")) continue;
      const r = el.getBoundingClientRect();
      if (r.top < 60 || r.bottom > innerHeight - 10 || r.height < 10) continue;
      const x = r.left + 8;
      const y = r.top + Math.min(10, r.height / 2);
      const hit = document.elementFromPoint(x, y);
      if (hit === el || el.contains(hit)) return { x, y };
    }
    return null;
  });
  if (!p) throw new Error("no plain text in view to tap on");
  return p;
}

// ---------------------------------------------------------------- touch rows

async function tapDropMenu(page) {
  const parent = page.locator("[data-pelto-dropmenu] > ul > li.pelto-dm-parent").first();
  const link = parent.locator(":scope > a");
  const sub = parent.locator(":scope > ul");
  await parent.scrollIntoViewIfNeeded();
  const url = page.url();
  const caption = (await link.textContent()).trim();
  await link.tap();
  await page.waitForTimeout(300);
  if (page.url() !== url) throw new Error(`the first tap on "${caption}" followed its link (${page.url().split("/").pop()}) instead of opening its list`);
  if (!(await sub.isVisible())) throw new Error(`the first tap on "${caption}" did not open its list`);
  const inner = sub.locator("a").first();
  const box = await inner.boundingBox();
  if (!box || box.x < 0 || box.x + 24 > 390) throw new Error(`the opened list of "${caption}" lies outside the screen`);
  const quiet = await quietPoint(page);
  await page.touchscreen.tap(quiet.x, quiet.y);
  await page.waitForTimeout(300);
  if (await sub.isVisible()) throw new Error(`a tap elsewhere left the list of "${caption}" open`);
  // A second tap on the open entry follows its link.
  const href = await link.getAttribute("href");
  await link.tap();
  await page.waitForTimeout(300);
  await link.tap();
  await page.waitForTimeout(300);
  if (href && href.length > 1 && href.startsWith("#") && !page.url().endsWith(href)) throw new Error(`a second tap on the open "${caption}" did not follow its link ${href}`);
}

async function tapSideMenu(page) {
  const nav = page.locator("[data-pelto-sidemenu]").first();
  const button = nav.locator(".pelto-sm-toggle");
  const panel = nav.locator(".pelto-sm-panel");
  if (!(await button.isVisible())) throw new Error("the menu button is not shown on a 390 px wide phone");
  await button.tap();
  await page.waitForTimeout(400);
  if (!(await panel.isVisible())) throw new Error("a tap on the menu button did not open the panel");
  const covered = await button.evaluate((b) => {
    const r = b.getBoundingClientRect();
    const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
    return hit && !b.contains(hit) ? hit.tagName.toLowerCase() + (hit.className ? "." + String(hit.className).split(" ")[0] : "") : null;
  });
  if (covered) throw new Error(`the open panel covers its own button (${covered} lies on it)`);
  await button.tap();
  await page.waitForTimeout(400);
  if (await panel.isVisible()) throw new Error("a tap on the menu button of the open panel did not close it");
}

async function tapGlossary(page) {
  const term = page.locator(".pelto-glossary-term").first();
  await term.scrollIntoViewIfNeeded();
  await page.evaluate(() => window.scrollBy(0, -200));
  await term.tap();
  await page.waitForTimeout(300);
  const shown = () => page.evaluate(() => [...document.querySelectorAll(".pelto-glossary-tip")].some((t) => !t.hidden));
  if (!(await shown())) throw new Error("a tap on a glossary word did not show its explanation");
  const quiet = await quietPoint(page);
  await page.touchscreen.tap(quiet.x, quiet.y);
  await page.waitForTimeout(700);
  if (await shown()) throw new Error("a tap elsewhere left the explanation open");
}

async function tapLinkTips(page) {
  const names = await page.evaluate(() => [...new Set([...document.querySelectorAll("a")].flatMap((a) => a.getAttributeNames().filter((n) => /^data-plt\d+$/.test(n))))]);
  if (names.length === 0) throw new Error("no link carries a tooltip");
  const link = page.locator(`main a[href='#top'][${names[0]}]`).first();
  await link.scrollIntoViewIfNeeded();
  await link.tap();
  const shown = () => page.evaluate(() => [...document.querySelectorAll(".pelto-linktips")].some((t) => !t.hidden));
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-linktips")].some((t) => !t.hidden), null, { timeout: 3000 }).catch(() => {});
  if (!(await shown())) throw new Error("a tap on a link did not show its tooltip");
  const quiet = await quietPoint(page);
  await page.touchscreen.tap(quiet.x, quiet.y);
  await page.waitForTimeout(700);
  if (await shown()) throw new Error("a tap elsewhere left the tooltip open");
}

async function fingerOnPicture(page, context) {
  const img = page.locator("img").first();
  await img.scrollIntoViewIfNeeded();
  const box = await img.boundingBox();
  const x = Math.round(box.x + box.width / 2);
  const y = Math.round(box.y + box.height / 2);
  const cdp = await context.newCDPSession(page);
  const lens = () => page.evaluate(() => [...document.querySelectorAll("[data-pelto-magnifier]")].some((l) => !l.hidden));
  try {
    await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x, y }] });
    await page.waitForTimeout(300);
    if (!(await lens())) throw new Error("a finger down on a picture shows no lens");
    await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    await page.waitForTimeout(1000);
    if (await lens()) throw new Error("the lens stays after the finger is lifted");
  } finally {
    await cdp.detach().catch(() => {});
  }
}

// ---------------------------------------------------------------- rows for every effect

async function contrastRow(browser, file, options, bareCache, where) {
  const bare = await bareCache(where);
  return withPage(browser, file, options, async (page) => {
    const found = await readContrast(page, { positions: await effectPositions(page) });
    return judgeContrast(found, bare, where);
  });
}

// The long page arrives in two parts (see serveFolder's `stallMs`), so an effect that changes
// the page's flow when its script starts shows up every time, not only when the browser happens
// to paint before DOMContentLoaded.
const STALL_MS = 400;
async function shiftOnSlowPage(browser, file, options) {
  const server = await serveFolder(path.dirname(file), { stallMs: STALL_MS });
  try {
    return await measureShift(browser, server.url(file), options);
  } finally {
    await server.close();
  }
}

async function shiftRow(browser, file, bareCache, options, where) {
  const bare = await bareCache(where);
  const seen = await shiftOnSlowPage(browser, file, options);
  const added = seen.total - bare.total;
  return added < SHIFT_LIMIT ? [] : [`${where}: the effect adds a layout shift of ${added.toFixed(3)} (under ${SHIFT_LIMIT} wanted)${seen.sources.length ? "; moved: " + seen.sources.join(", ") : ""}`];
}

async function controlsRow(browser, file, options, where) {
  return withPage(browser, file, options, async (page) => {
    const errors = smallTargets(await page.evaluate(targetsScript)).map((e) => `${where}: ${e} (at least 24x24 wanted)`);
    for (const e of await movingButtons(page)) errors.push(`${where}: ${e}`);
    return errors;
  });
}

async function busyRow(browser, file, bareCache, exempt) {
  const bare = await bareCache("busy");
  return withPage(browser, file, {}, async (page, context) => {
    const errors = [];
    for (const a of await page.evaluate(mainThreadAnimationsScript)) {
      if (a.endless) errors.push(`the endless animation ${a.what} on ${a.name} changes ${a.props.join(", ")} (only transform and opacity run without the main thread)`);
    }
    // Busy time is noisy on a loaded machine: the better of two readings counts. A check file
    // may name why its effect cannot meet the limit yet (`busyExempt`); that is printed, not hidden.
    let share = await busyShare(context, page);
    if (exempt) {
      console.log(`NOTE  main-thread time ${(share * 100).toFixed(1)}% (bare page ${(bare * 100).toFixed(1)}%) not judged: ${exempt}`);
      return errors;
    }
    if (share - bare > BUSY_LIMIT) share = Math.min(share, await busyShare(context, page));
    if (share - bare > BUSY_LIMIT) errors.push(`the main thread is busy ${(share * 100).toFixed(1)}% of the time while the effect moves, the bare page ${(bare * 100).toFixed(1)}% (at most ${BUSY_LIMIT * 100}% more wanted)`);
    return errors;
  });
}

// ---------------------------------------------------------------- the table

// page: which applied page the row loads: "sample" (sample.htm), "long" or "dark".
export const TABLE = [
  { effect: "pelto.dropmenu", page: "sample", context: "390x844 touch", action: "tap an entry that has a list, tap elsewhere, tap it twice", expected: "the first tap opens its list and the URL stays; a tap elsewhere closes it; a second tap follows its link", run: ({ browser, pages }) => withPage(browser, pages.sample, PHONE, tapDropMenu).then(() => []) },
  { effect: "pelto.sidemenu", page: "sample", context: "390x844 touch", action: "tap the menu button, then tap it again", expected: "the panel opens without covering its button, and closes", run: ({ browser, pages }) => withPage(browser, pages.sample, PHONE, tapSideMenu).then(() => []) },
  { effect: "pelto.glossary", page: "sample", context: "390x844 touch", action: "tap a glossary word, then tap plain text elsewhere", expected: "the explanation shows, then closes", run: ({ browser, pages }) => withPage(browser, pages.sample, PHONE, tapGlossary).then(() => []) },
  { effect: "pelto.linktips", page: "sample", context: "390x844 touch", action: "tap a link, then tap plain text elsewhere", expected: "the tooltip shows, then closes", run: ({ browser, pages }) => withPage(browser, pages.sample, PHONE, tapLinkTips).then(() => []) },
  { effect: "pelto.magnifier", page: "sample", context: "390x844 touch", action: "put a finger on a picture, lift it", expected: "the lens shows while the finger is down, and goes", run: ({ browser, pages }) => withPage(browser, pages.sample, PHONE, fingerOnPicture).then(() => []) },
  { effect: "*", page: "sample", context: "1200x800, light", action: "load", expected: "the effect's text at least 4.5:1; the page's own text keeps 4.5:1", run: ({ browser, pages, bare }) => contrastRow(browser, pages.sample, {}, bare, "light page") },
  { effect: "*", page: "long", context: "1200x800, prefers-color-scheme: dark", action: "load", expected: "the effect's text at least 4.5:1; the page's own text keeps 4.5:1", run: ({ browser, pages, bare }) => contrastRow(browser, pages.long, { colorScheme: "dark" }, bare, "dark colour scheme") },
  { effect: "*", page: "dark", context: "1200x800, light scheme", action: "load", expected: "the effect's text at least 4.5:1; the page's own text keeps 4.5:1", run: ({ browser, pages, bare }) => contrastRow(browser, pages.dark, {}, bare, "dark page") },
  { effect: "*", page: "long", context: "1200x800", action: "load, scroll to the end and back", expected: `layout shift added under ${SHIFT_LIMIT}`, run: ({ browser, pages, bare }) => shiftRow(browser, pages.long, bare, DESKTOP, "long page") },
  { effect: "*", page: "long", context: "390x844 touch", action: "load, scroll to the end and back", expected: `layout shift added under ${SHIFT_LIMIT}`, run: ({ browser, pages, bare }) => shiftRow(browser, pages.long, bare, PHONE, "long page on a phone") },
  { effect: "*", page: "sample", context: "1200x800", action: "watch the controls for 2.5 s while the effect moves", expected: "every control at least 24x24 and still", run: ({ browser, pages }) => controlsRow(browser, pages.sample, {}, "desktop") },
  { effect: "*", page: "long", context: "390x844 touch", action: "watch the controls for 2.5 s while the effect moves", expected: "every control at least 24x24 and still", run: ({ browser, pages }) => controlsRow(browser, pages.long, PHONE, "phone") },
  { effect: "*", page: "sample", context: "1200x800", action: "let the effect move for 2.5 s", expected: `endless animations only on transform and opacity; main-thread busy at most ${BUSY_LIMIT * 100}% above the bare page`, run: ({ browser, pages, bare, mod }) => busyRow(browser, pages.sample, bare, mod.busyExempt) },
];

// What the bare pages measure (read once per run and shared by every effect).
export function bareMeasures(browser, home) {
  const cache = new Map();
  const file = (name) => path.join(home, name);
  const everywhere = async (page) => {
    const height = await page.evaluate(() => document.documentElement.scrollHeight);
    const positions = [];
    for (let y = 0; y < height; y += 600) positions.push(y);
    return readContrast(page, { positions });
  };
  const make = {
    "light page": () => withPage(browser, file("sample.htm"), {}, everywhere),
    "dark colour scheme": () => withPage(browser, file("sample-long.htm"), { colorScheme: "dark" }, everywhere),
    "dark page": () => withPage(browser, file("sample-dark.htm"), {}, everywhere),
    "long page": () => shiftOnSlowPage(browser, file("sample-long.htm"), DESKTOP),
    "long page on a phone": () => shiftOnSlowPage(browser, file("sample-long.htm"), PHONE),
    busy: () => withPage(browser, file("sample.htm"), {}, (page, context) => busyShare(context, page)),
  };
  return (what) => {
    if (!cache.has(what)) cache.set(what, make[what]());
    return cache.get(what);
  };
}

// Runs the rows of one effect. `applyTo(pageName, into)` applies the effect with its default
// values to a page of the program folder and returns the copied result page.
export async function checkVisitors({ browser, id, dir, applyTo, bare }) {
  const errors = [];
  const pages = {};
  try {
    pages.sample = applyTo("sample.htm", path.join(dir, "visitors-sample"));
    pages.long = applyTo("sample-long.htm", path.join(dir, "visitors-long"));
    pages.dark = applyTo("sample-dark.htm", path.join(dir, "visitors-dark"));
  } catch (e) {
    return [e.message.split("\n")[0]];
  }
  const mod = await import(pathToFileURL(path.join(here, "..", "checks", `${id}.js`)).href).catch(() => ({}));
  for (const row of TABLE) {
    if (row.effect !== "*" && row.effect !== id) continue;
    try {
      const found = await row.run({ browser, pages, bare, mod });
      // A check file may name a row its effect does not meet yet and why
      // (`visitorsOpen`: the row's expected text start -> reason); that is printed, not hidden.
      const open = Object.entries(mod.visitorsOpen || {}).find(([start]) => row.expected.startsWith(start));
      if (open && found.length) for (const f of found) console.log(`NOTE  ${f}: not judged yet: ${open[1]}`);
      else errors.push(...found);
    } catch (e) {
      errors.push(`${row.action} (${row.page}, ${row.context}): ${e.message.split("\n")[0]}`);
    }
  }
  return errors;
}
