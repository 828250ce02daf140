// A page under a strict Content-Security-Policy: no inline script, no inline style, no handler
// attributes, pictures only from the page's folder or data: links. The UTF-8 sample page is made
// into such a page (its own style block moved into a file beside it, the policy first in its
// head); every effect applied to it must work there with no policy violation, no console error
// and no uncaught exception:
//   strict once        the effect's check on the page with its default values;
//   strict twice       two copies on one page (repeat 0, then repeat 1 on the first result);
//   strict two pages   one page with the default values and one with other values (the hostile
//                      texts) copied into one folder: the shared files (code, styles, pictures)
//                      both applies write are the same bytes, and both pages work there.
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

export const POLICY = "default-src 'self'; img-src 'self' data:";
const PAGE_STYLE = "page.css";
const SETTLE_MS = 400;

// The strict page: the sample page's style blocks go into page.css beside it, the policy goes
// first into its head. `marks`: how many ***** lines stand where the sample has one.
export function writeStrictPage(samplePath, target, marks = 1) {
  let text = fs.readFileSync(samplePath, "utf8");
  const styles = [];
  text = text.replace(/<style>([\s\S]*?)<\/style>/gi, (_, css) => {
    styles.push(css);
    return styles.length === 1 ? `<link rel="stylesheet" href="${PAGE_STYLE}">` : "";
  });
  if (!/<head>/i.test(text)) throw new Error(`${samplePath} has no <head>`);
  text = text.replace(/<head>/i, (h) => `${h}\r\n<meta http-equiv="Content-Security-Policy" content="${POLICY}">`);
  const lines = Array.from({ length: Math.max(1, marks) }, () => "*****").join("\r\n");
  if (!text.includes("*****")) throw new Error(`${samplePath} has no ***** line`);
  text = text.replace("*****", lines);
  if (/<script(?![^>]*\bsrc=)[^>]*>|\sstyle=|\son[a-z]+=/i.test(text)) throw new Error(`${samplePath} holds inline script, a style attribute or a handler attribute`);
  fs.mkdirSync(path.dirname(target), { recursive: true });
  fs.writeFileSync(target, text, "utf8");
  fs.writeFileSync(path.join(path.dirname(target), PAGE_STYLE), styles.join("\n"), "utf8");
  return target;
}

// Loads a page and collects everything that went wrong on it, policy violations included.
async function visit(browser, file, body) {
  const context = await browser.newContext({ viewport: { width: 1200, height: 800 } });
  const page = await context.newPage();
  const problems = [];
  page.on("pageerror", (e) => problems.push(`uncaught exception: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") problems.push(`console error: ${m.text().slice(0, 160)}`);
  });
  page.on("requestfailed", (r) => problems.push(`failed to load ${r.url().slice(0, 160)}: ${r.failure() ? r.failure().errorText : "?"}`));
  await page.addInitScript(() => {
    window.__peltoViolations = [];
    document.addEventListener("securitypolicyviolation", (e) => {
      window.__peltoViolations.push(`${e.effectiveDirective} blocked ${e.blockedURI || "inline"}${e.lineNumber ? ` (line ${e.lineNumber})` : ""}: ${(e.sample || "").slice(0, 60)}`);
    });
  });
  try {
    await page.goto(pathToFileURL(file).href, { waitUntil: "load", timeout: 30000 });
    await page.waitForTimeout(SETTLE_MS);
    const policy = await page.evaluate(() => {
      const m = document.querySelector('meta[http-equiv="Content-Security-Policy"]');
      return m ? m.content : "";
    });
    if (policy !== POLICY) problems.push(`the page does not carry the policy (${policy || "none"})`);
    // Every value the page holds for the look (data-look-*) is on its element.
    const undressed = await page.evaluate(() => {
      const out = [];
      for (const el of document.querySelectorAll("*")) {
        const props = Array.from(el.style).filter((p) => p.startsWith("--"));
        for (const a of Array.from(el.attributes)) {
          if (!a.name.startsWith("data-look-")) continue;
          const name = a.name.slice(10);
          if (!props.some((p) => p.endsWith(`-${name}`) && el.style.getPropertyValue(p) === a.value)) out.push(`${el.tagName.toLowerCase()}${el.id ? "#" + el.id : ""} ${a.name}`);
        }
      }
      return out;
    });
    for (const u of undressed) problems.push(`the look ${u} did not reach its element`);
    try {
      if (body) await body(page);
    } catch (e) {
      problems.push(e.message.split("\n")[0]);
    }
    await page.waitForTimeout(200);
    const violations = await page.evaluate(() => window.__peltoViolations || []);
    for (const v of violations) problems.push(`policy violation: ${v}`);
  } finally {
    await context.close();
  }
  return problems;
}

// Files two applies wrote beside their pages that differ in their bytes.
function differingShared(a, b) {
  const out = [];
  for (const f of fs.readdirSync(a)) {
    if (/\.htm$/i.test(f) || f === PAGE_STYLE) continue;
    const other = path.join(b, f);
    if (!fs.existsSync(other)) continue;
    if (!fs.readFileSync(path.join(a, f)).equals(fs.readFileSync(other))) out.push(f);
  }
  return out;
}

// The strict rows of one effect. `apply(pagePath, repeat, into, extra)` applies it and returns
// the copied result page; `hostile(pagePath, into)` applies it with other values (the hostile
// texts) and returns the result page; `check(page, context)` is the effect's own check.
export async function checkStrictPolicy({ browser, id, dir, samplePath, apply, hostile, check }) {
  const errors = [];
  const row = async (name, file, context) => {
    for (const p of await visit(browser, file, (page) => check(page, { copies: 1, all: false, scriptId: id, strict: true, ...context }))) errors.push(`${name}: ${p}`);
  };
  try {
    const once = apply(writeStrictPage(samplePath, path.join(dir, "strict-page", "sample.htm")), 0, path.join(dir, "strict-once"));
    fs.copyFileSync(path.join(dir, "strict-page", PAGE_STYLE), path.join(path.dirname(once), PAGE_STYLE));
    await row("strict once", once, {});
  } catch (e) {
    errors.push(`strict once: ${e.message.split("\n")[0]}`);
  }
  try {
    const page2 = writeStrictPage(samplePath, path.join(dir, "strict-twice-page", "sample.htm"), 2);
    const into = path.join(dir, "strict-twice");
    const first = apply(page2, 0, into);
    const firstPage = path.join(into, "first.htm");
    fs.renameSync(first, firstPage);
    const second = apply(firstPage, 1, into);
    fs.copyFileSync(path.join(path.dirname(page2), PAGE_STYLE), path.join(into, PAGE_STYLE));
    await row("strict twice", second, { copies: 2 });
  } catch (e) {
    errors.push(`strict twice: ${e.message.split("\n")[0]}`);
  }
  try {
    const page = writeStrictPage(samplePath, path.join(dir, "strict-two-page", "sample.htm"));
    const a = apply(page, 0, path.join(dir, "strict-two-a"));
    const b = hostile(page, path.join(dir, "strict-two-b"));
    const differ = differingShared(path.dirname(a), path.dirname(b));
    if (differ.length) errors.push(`strict two pages: the shared files differ with the values: ${differ.join(", ")}`);
    // One folder: everything of the second apply beside the first page, under its own name.
    const folder = path.join(dir, "strict-two");
    fs.mkdirSync(folder, { recursive: true });
    for (const from of [path.dirname(b), path.dirname(a)]) {
      for (const f of fs.readdirSync(from)) if (!/\.htm$/i.test(f)) fs.copyFileSync(path.join(from, f), path.join(folder, f));
    }
    fs.copyFileSync(path.join(path.dirname(page), PAGE_STYLE), path.join(folder, PAGE_STYLE));
    fs.copyFileSync(a, path.join(folder, "defaults.htm"));
    fs.copyFileSync(b, path.join(folder, "other-values.htm"));
    await row("strict two pages (default values)", path.join(folder, "defaults.htm"), {});
    // The effect's check expects its default texts, so the page with other values is judged by
    // the policy, its errors and its look values.
    for (const p of await visit(browser, path.join(folder, "other-values.htm"), null)) errors.push(`strict two pages (other values): ${p}`);
  } catch (e) {
    errors.push(`strict two pages: ${e.message.split("\n")[0]}`);
  }
  return errors;
}
