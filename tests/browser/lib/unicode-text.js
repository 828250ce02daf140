// Text in any script through the effects that step through text or carry it moving: the values go
// in through a template written as UTF-8 with a byte order mark (which the program reads as
// UTF-8), holding characters beyond Windows-1252: a combining accent, an astral emoji, emoji
// joined into one, a flag, Hebrew and Devanagari.
//   typewriter  every frame the typing shows is a run of whole characters as a reader sees
//               them (the browser's own grapheme segmentation decides), never half a pair, an
//               accent without its letter or part of a joined emoji; once with the browser's
//               segmenter, once without it (the effect's fallback);
//   right-to-left  Hebrew text shows in its own direction (the element's direction is rtl) and
//               reads exactly as typed, in the typewriter, the rotating words, the ticker and
//               the banner.
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

const HEBREW = "\u05e9\u05dc\u05d5\u05dd \u05dc\u05db\u05d5\u05dc\u05dd";
export const LINES = [
  "Cafe\u0301 \u{1F600} \u{1F469}\u200D\u{1F469}\u200D\u{1F467} \u{1F1F5}\u{1F1F1} \u{1F44D}\u{1F3FD} \u0141\u00f3d\u017a",
  HEBREW + " 2026",
  "\u0928\u092e\u0938\u094d\u0924\u0947 \u65e5\u672c\u8a9e \u0395\u03bb\u03bb\u03ac\u03b4\u03b1",
];

// The template lines of each effect (parameter name, then its value or its list).
const CASES = {
  "pelto.typewriter": { values: ["Lines", String(LINES.length), "1", ...LINES] },
  "pelto.rotatewords": { values: ["Words", "2", "1", HEBREW, LINES[0]], rtl: ".pelto-rw-now, .pelto-rw-ghost", first: HEBREW },
  "pelto.ticker": { values: ["Headlines", "2", "1", `${HEBREW}|#news`, `${LINES[2]}|#news`], rtl: ".pelto-tk-list li", first: HEBREW },
  "pelto.banner": { values: ["Message", HEBREW], rtl: ".pelto-bn-text", first: HEBREW },
};

export const unicodeCases = () => Object.keys(CASES);

// A text as a program that reads the UTF-8 file as Windows-1252 would have it (the bytes that
// Windows-1252 leaves undefined left out, on both sides of a comparison).
const plain = (t) => t.replace(/[\u0080-\u009f]/g, "");
const CP1252_HIGH = [
  0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039, 0x152, 0x8d, 0x17d, 0x8f,
  0x90, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0x9d, 0x17e, 0x178,
];
const misread = (t) => plain([...Buffer.from(t, "utf8")].map((b) => String.fromCodePoint(b >= 0x80 && b < 0xa0 ? CP1252_HIGH[b - 0x80] : b)).join(""));
const NOT_TAKEN = "pelto-cli read the UTF-8 values file as Windows-1252: it does not take text beyond Windows-1252 yet";

function writeTemplate(file, lines) {
  fs.writeFileSync(file, "\ufeff" + ["text in any script", ...lines].join("\r\n") + "\r\n", "utf8");
}

// Runs in the page: every text the typewriter's output showed, recorded as it changes.
function recordFramesScript() {
  window.__peltoFrames = [];
  new MutationObserver(() => {
    for (const out of document.querySelectorAll(".pelto-tw-out")) {
      window.__peltoFrames.push({ text: out.textContent, dir: getComputedStyle(out).direction });
    }
  }).observe(document, { subtree: true, childList: true, characterData: true });
}

// A frame is good when it is the first n whole characters of one of the lines.
export function brokenFrames(frames, lines) {
  const seg = new Intl.Segmenter(undefined, { granularity: "grapheme" });
  const split = (t) => Array.from(seg.segment(t), (s) => s.segment);
  const whole = lines.map(split);
  const bad = [];
  for (const f of frames) {
    if (f.text === "") continue;
    if (/[\ud800-\udbff](?![\udc00-\udfff])|(?<![\ud800-\udbff])[\udc00-\udfff]/.test(f.text)) {
      bad.push(`a frame shows half a surrogate pair: ${JSON.stringify(f.text)}`);
      continue;
    }
    const g = split(f.text);
    const ok = whole.some((w) => g.length <= w.length && g.every((c, i) => c === w[i]));
    if (!ok && !lines.includes(f.text)) bad.push(`a frame shows a broken character: ${JSON.stringify(f.text)}`);
  }
  return [...new Set(bad)];
}

// Applies the effect with its text values and checks it. `applyWith(template, into)` applies the
// effect with a values file and returns the result page, or throws what pelto-cli said.
// Returns { errors, skipped } (skipped: why the check could not run).
export async function checkUnicodeText({ browser, id, dir, applyWith }) {
  const errors = [];
  for (const sample of ["sample-utf8.htm", "sample.htm"]) {
    const r = await checkOnPage({ browser, id, dir, applyWith: (template, into) => applyWith(sample, template, into), sample });
    if (r.skipped) return r;
    errors.push(...r.errors.map((e) => `${sample}: ${e}`));
  }
  return { errors, skipped: null };
}

async function checkOnPage({ browser, id, dir, applyWith, sample }) {
  const c = CASES[id];
  if (!c) return { errors: [], skipped: null };
  const into = path.join(dir, "unicode-" + sample.replace(/\.htm$/, ""));
  fs.mkdirSync(into, { recursive: true });
  const template = `${into}.p01`;
  writeTemplate(template, c.values);
  let result;
  try {
    result = applyWith(template, into);
  } catch (e) {
    const msg = e.message.split("\n")[0];
    // A program that holds only Windows-1252 text refuses such a value: that is its limit, not
    // the effect's, and is said so.
    if (/cannot be stored|Windows-1252|Western/i.test(msg)) return { errors: [], skipped: `pelto-cli refused text beyond Windows-1252: ${msg}` };
    return { errors: [msg], skipped: null };
  }
  const errors = [];
  for (const segmenter of [true, false]) {
    const how = segmenter ? "" : " (without Intl.Segmenter)";
    const context = await browser.newContext({ viewport: { width: 1200, height: 800 } });
    try {
      const page = await context.newPage();
      const problems = [];
      page.on("pageerror", (e) => problems.push(`uncaught exception${how}: ${e.message}`));
      if (!segmenter) await page.addInitScript(() => { delete Intl.Segmenter; });
      if (id === "pelto.typewriter") await page.addInitScript(recordFramesScript);
      await page.goto(pathToFileURL(result).href, { waitUntil: "load", timeout: 30000 });
      if (id === "pelto.typewriter") {
        const source = await page.$$eval(".pelto-tw-line", (ls) => ls.map((l) => l.textContent.trim()));
        if (source.length === LINES.length && source.every((t, i) => plain(t) === misread(LINES[i]))) return { errors: [], skipped: NOT_TAKEN };
        if (JSON.stringify(source) !== JSON.stringify(LINES)) {
          errors.push(`the lines reached the page as ${JSON.stringify(source)}, not as typed`);
          break;
        }
        // The first line typed and wiped, the second (Hebrew) typed.
        await page.waitForFunction((want) => window.__peltoFrames.some((f) => f.text === want), LINES[1], { timeout: 20000 }).catch(() => {
          errors.push(`the typewriter never showed the whole second line${how}`);
        });
        const frames = await page.evaluate(() => window.__peltoFrames);
        if (!frames.some((f) => f.text === LINES[0])) errors.push(`the typewriter never showed the whole first line${how}`);
        for (const e of brokenFrames(frames, LINES)) errors.push(e + how);
        const hebrew = frames.filter((f) => f.text.startsWith(HEBREW.slice(0, 3)));
        if (hebrew.some((f) => f.dir !== "rtl")) errors.push(`the Hebrew line is typed left to right${how}`);
      } else {
        await page.waitForTimeout(400);
        if (!segmenter) break;
        const seen = await page.$$eval(c.rtl, (els) => els.map((el) => ({ text: el.textContent.trim(), dir: getComputedStyle(el).direction })));
        if (seen.some((s) => plain(s.text).includes(misread(c.first)))) return { errors: [], skipped: NOT_TAKEN };
        const mine = seen.filter((s) => s.text.includes(c.first));
        if (mine.length === 0) errors.push(`the Hebrew text is not shown as typed (${JSON.stringify(seen.map((s) => s.text)).slice(0, 160)})`);
        for (const s of mine) if (s.dir !== "rtl") errors.push(`the Hebrew text "${s.text}" shows left to right`);
        if (id === "pelto.banner" && !(await page.locator(".pelto-bn.pelto-bn-rtl").count())) errors.push("a Hebrew message does not scroll in from the left (its start comes last)");
      }
      errors.push(...problems);
    } finally {
      await context.close();
    }
  }
  return { errors, skipped: null };
}
