// The hostile-values pass: every text a user can type into an effect (texts, list entries,
// menu captions, link texts of the page, file and picture names) is set to a value full of
// characters that break markup, scripts and encodings, and text of other scripts (Polish, Greek,
// Cyrillic, Japanese, Hebrew, Arabic, a combining accent, emoji with and without a joiner). The
// values go in through a template file written as the program writes one that holds such text
// (UTF-8 after a byte order mark), so they reach the program exactly; the browser must read each
// back exactly as typed (no normalisation, no U+FFFD, no markup made) on either page encoding.
//
// A value counts as shown when the effect shows the default value it replaced: a default text
// found more often on the page with default values than on the bare page. Every shown value
// must then appear exactly as typed, in the page's text or in an attribute value.
import fs from "node:fs";
import path from "node:path";

export const HOSTILE =
  `Tom's "A&B" <i>x</i> \\ caf\u00e9 \u00ae 5 \u20ac ` +
  // Łódź Ωμέγα Юля 写真 שלום مرحبا Cafe + U+0301, U+1F600, woman + ZWJ + laptop
  "\u0141\u00f3d\u017a \u03a9\u03bc\u03ad\u03b3\u03b1 \u042e\u043b\u044f \u5199\u771f " +
  "\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 Cafe\u0301 \u{1f600} \u{1f469}\u200d\u{1f4bb}";
// A file name cannot hold "/", so names use "<i>x<i>" instead.
const HOSTILE_NAME = HOSTILE.replace("</i>", "<i>");
const LINK_TAIL = "&region=eu";
// A 1 x 1 GIF for the pictures the hostile names point to.
const GIF = Buffer.from("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7", "base64");

// Windows-1252 bytes 0x80 to 0x9F; the five unassigned ones stand for the code point of their number.
const CP1252_HIGH = [
  0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039, 0x152, 0x8d, 0x17d, 0x8f,
  0x90, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0x9d, 0x17e, 0x178,
].map((c) => String.fromCodePoint(c)).join("");
// Windows-1252 bytes of a text, as a byte string (one character per byte).
export function toCp1252(text) {
  let out = "";
  for (const ch of text) {
    const c = ch.codePointAt(0);
    const high = CP1252_HIGH.indexOf(ch);
    if (high >= 0) out += String.fromCharCode(0x80 + high);
    else if (c < 0x80 || (c >= 0xa0 && c <= 0xff)) out += ch;
    else throw new Error(`"${ch}" has no Windows-1252 byte`);
  }
  return out;
}
const fromCp1252 = (bytes) => bytes.replace(/[\x80-\x9f]/g, (ch) => CP1252_HIGH[ch.charCodeAt(0) - 0x80]);

// The hostile value number k: the value itself and a tag that tells the values apart.
const value = (k) => `${HOSTILE} [${k}]`;
const fileName = (k, ext) => `${HOSTILE_NAME} [${k}]${ext}`;
const extension = (name) => (/\.[A-Za-z0-9]{1,5}$/.exec(name) || [""])[0];

// Builds the values of one effect: the template lines (Unicode text, written as Windows-1252),
// the probes that say what to look for, and the pictures to place beside the result page.
// `links` are the link texts of the page the effect is applied to, as the program reads them;
// with `only` (a set of parameter names) the other parameters keep their defaults.
export function hostilePlan(blocks, links, folder, only = null) {
  const lines = ["hostile values"];
  const probes = [];
  const pictures = [];
  let k = 0;
  let param = "";
  const text = (label, def) => {
    const v = value(++k);
    probes.push({ label, param, type: "text", def, value: v });
    return v;
  };
  const link = (label, def) => {
    const v = def.trim() + LINK_TAIL;
    probes.push({ label, param, type: "link", def: def.trim(), value: v });
    return v;
  };
  const NAME_LINE = { 1: 2, 2: 2, 5: 6, 6: 10, 9: 3, 11: 2 };
  for (const { kind, values: v } of blocks) {
    if (!(kind in NAME_LINE)) continue;
    param = fromCp1252(v[NAME_LINE[kind]]);
    if (only && !only.has(param)) continue;
    if (kind === 5) {
      lines.push(fromCp1252(v[6]), text(fromCp1252(v[6]), fromCp1252(v[2])));
    } else if (kind === 6) {
      const cols = Number(v[2]);
      const rows = Number(v[4]);
      const cells = v.slice(12, 12 + rows * cols).map(fromCp1252);
      const label = (i) => `${fromCp1252(v[10])} entry ${(i % rows) + 1}`;
      // Entries of the form "text|link" keep a link (with an "&" added); entries of the form
      // "key = explanation" keep their key, which must match the page's text to show at all,
      // and one more entry with a hostile key is added.
      const isLink = cells.length > 0 && cells.every((c) => c.includes("|"));
      const isPair = cells.length > 0 && cells.every((c) => c.includes(" = "));
      const out = cells.map((c, i) => {
        if (isLink) {
          const bar = c.indexOf("|");
          const tail = c.slice(bar + 1).trim();
          return text(label(i), c.slice(0, bar)) + (tail ? "|" + link(`${label(i)} link`, tail) : "");
        }
        if (isPair) {
          const eq = c.indexOf(" = ");
          return `${c.slice(0, eq)} = ${text(`${label(i)} explanation`, c.slice(eq + 3))}`;
        }
        return text(label(i), c);
      });
      let extraRows = 0;
      if (isPair && cols === 1) {
        out.push(`${value(++k)} = ${value(++k)}`);
        extraRows = 1;
      }
      lines.push(fromCp1252(v[10]), String(rows + extraRows), String(cols), ...out);
    } else if (kind === 9) {
      // Link texts with characters beyond ASCII keep their default (the link's own text), so the
      // reading of the page's encoding is checked as well.
      const groups = [...new Set(links)].filter((t) => t.trim() && /^[\x20-\x7e]*$/.test(t));
      lines.push(fromCp1252(v[3]), String(groups.length));
      for (const t of groups) {
        const first = text(`${param} "${t}" (${v[0]})`, t);
        const second = value(++k);
        probes.push({ label: `${param} "${t}" (${v[1]})`, param, type: "text", def: "", value: second, with: first });
        lines.push(t, first, second);
      }
    } else if (kind === 11) {
      const n = Number(v[0]);
      const entries = v.slice(4, 4 + n).map(fromCp1252);
      const captions = v.slice(4 + n, 4 + 2 * n).map(fromCp1252);
      const targets = v.slice(4 + 2 * n, 4 + 3 * n).map(fromCp1252);
      const newCaptions = captions.map((c, i) => text(`${v[2]} caption ${i + 1}`, c));
      const newEntries = entries.map((e, i) => /^>*/.exec(e)[0] + newCaptions[i]);
      const newTargets = targets.map((t, i) => (t.trim() ? link(`${v[2]} link ${i + 1}`, t) : t));
      lines.push(fromCp1252(v[2]), String(n), ...newEntries, ...newCaptions, ...newTargets);
    } else if (kind === 1 || kind === 2) {
      const def = fromCp1252(v[1]);
      const name = fileName(++k, extension(def));
      probes.push({ label: param, param, type: kind === 2 ? "picture" : "file", def, value: name });
      if (kind === 2) pictures.push(name);
      lines.push(fromCp1252(v[2]), name, folder + path.sep);
    }
  }
  return { lines, probes, pictures };
}

// As the program writes a template: Windows-1252 when every character fits, else UTF-8 after
// the byte order mark.
export function writeTemplate(plan, templateFile) {
  const text = plan.lines.join("\r\n") + "\r\n";
  let bytes;
  try {
    bytes = Buffer.from(toCp1252(text), "latin1");
  } catch {
    bytes = Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(text, "utf8")]);
  }
  fs.writeFileSync(templateFile, bytes);
}

export function placePictures(plan, resultFolder) {
  for (const name of plan.pictures) fs.writeFileSync(path.join(resultFolder, name), GIF);
}

// Runs in the page: the text of every text node (not of scripts and styles) and every
// attribute, and how many <i> elements there are.
export function snapshotScript() {
  const skip = new Set(["SCRIPT", "STYLE", "NOSCRIPT", "TEMPLATE"]);
  const texts = [];
  const walker = document.createTreeWalker(document.documentElement, NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) if (!(n.parentElement && skip.has(n.parentElement.tagName))) texts.push(n.data);
  const attrs = [];
  for (const el of document.querySelectorAll("*")) for (const a of el.attributes) attrs.push([a.name, a.value]);
  return { texts, attrs, italics: document.getElementsByTagName("i").length };
}

const occurrences = (haystack, needle) => {
  if (!needle) return 0;
  let n = 0;
  for (let i = haystack.indexOf(needle); i >= 0; i = haystack.indexOf(needle, i + needle.length)) n++;
  return n;
};
const decoded = (s) => {
  try {
    return decodeURIComponent(s);
  } catch {
    return s;
  }
};

// How often a probe's value (or its default, with `def`) is on a page snapshot.
export function countOn(snap, probe, which, requests = []) {
  const wanted = which === "def" ? probe.def : probe.value;
  if (!wanted) return 0;
  if (probe.type === "link") return snap.attrs.filter(([, v]) => v === wanted).length;
  if (probe.type === "file" || probe.type === "picture") {
    let n = snap.attrs.filter(([, v]) => v.includes(wanted) || decoded(v).includes(wanted)).length;
    if (probe.type === "picture") n += requests.filter((u) => decoded(u.split("/").pop()) === wanted).length;
    return n;
  }
  const joined = snap.texts.join("");
  return occurrences(joined, wanted) + snap.attrs.reduce((sum, [, v]) => sum + occurrences(v, wanted), 0);
}

// Traces of a text that went through the wrong escaping or encoding.
const TRACES = [
  ["\u00c3", "UTF-8 bytes read as Windows-1252"],
  ["\u00c2", "UTF-8 bytes read as Windows-1252"],
  ["\ufffd", "bytes that are not text in the page's encoding"],
  ["&amp;", "an escaped \"&\" shown as text"],
  ["&quot;", "an escaped quote shown as text"],
  ["&#", "a character reference shown as text"],
  ["&lt;", "an escaped \"<\" shown as text"],
  ["\\\\", "a doubled backslash"],
  ['\\"', "a backslash before a quote"],
  ["\\'", "a backslash before an apostrophe"],
  ["\u00aeion", "\"&reg\" read as a character reference"],
];

// The ***** line is where "Location" effects go: it is not text the page keeps.
const words = (texts) => texts.join(" ").split(/\s+/).filter((w) => w && w !== "*****");

// The page's own words, in order, on a page that may hold more text between them. Effects may
// wrap a word in an element of its own (so "bulbs," can become "bulbs" and ","), so the words
// are looked for in the page's text with all white space taken out.
function missingOwnWords(bare, page) {
  const want = words(bare.texts);
  const have = page.texts.join("").replace(/\s+/g, "");
  const WINDOW = 20000;
  let at = 0;
  for (let i = 0; i < want.length; i++) {
    const found = have.indexOf(want[i], at);
    if (found < 0 || found - at > WINDOW) return `"${want[i]}" (in "${want.slice(Math.max(0, i - 4), i + 5).join(" ")}")`;
    at = found + want[i].length;
  }
  return null;
}

// Where a value number k shows at all, for a message that says what became of it; null when
// it shows nowhere.
function traceOf(snap, probe) {
  const tag = /\[\d+\]/.exec(probe.value);
  if (!tag) return "";
  for (const t of snap.texts) if (t.includes(tag[0])) return ` (text shows ${JSON.stringify(t.slice(0, 90))})`;
  for (const [n, v] of snap.attrs) if (v.includes(tag[0])) return ` (attribute ${n} holds ${JSON.stringify(v.slice(0, 90))})`;
  return null;
}

// Everything wrong with one hostile page. `bare` is the snapshot of the page without effects,
// `calibration` the default-values page with its own bare page. Texts that show nowhere at all
// are returned apart (`nowhere`): another value may have made the effect leave them out (a
// countdown to a date that is not one shows no heading), so they are tried again alone.
export function judgeHostile({ plan, snap, bare, requests, calibration }) {
  const errors = [];
  const nowhere = [];
  if (snap.italics > bare.italics) errors.push(`an <i> element was made from the typed text (${snap.italics - bare.italics} more than the page has)`);
  const missing = missingOwnWords(bare, snap);
  if (missing) errors.push(`the page's own text changed: ${missing} is missing`);
  const all = [...snap.texts, ...snap.attrs.map(([, v]) => v)].join("\n");
  const before = [...bare.texts, ...bare.attrs.map(([, v]) => v)].join("\n");
  for (const [trace, why] of TRACES) {
    if (occurrences(all, trace) > occurrences(before, trace)) {
      const line = all.split("\n").find((l) => l.includes(trace)) || "";
      errors.push(`shows ${JSON.stringify(trace)} (${why}): ${JSON.stringify(line.trim().slice(0, 100))}`);
    }
  }
  const shown = (p) => countOn(calibration.snap, p, "def", calibration.requests) > countOn(calibration.bare, p, "def");
  for (const p of plan.probes) {
    const partner = p.with ? plan.probes.find((q) => q.value === p.with) : null;
    if (!(partner ? shown(partner) : shown(p))) continue;
    if (countOn(snap, p, "value", requests) > 0) continue;
    if (p.type === "link") errors.push(`the link of ${p.label} is not ${JSON.stringify(p.value)} anywhere`);
    else if (p.type === "picture") errors.push(`the picture ${p.label} (${JSON.stringify(p.value)}) was not loaded`);
    else if (p.type === "file") errors.push(`the file name of ${p.label} is not in any link: expected ${JSON.stringify(p.value)}`);
    else {
      const trace = traceOf(snap, p);
      if (trace === null) nowhere.push(p);
      else errors.push(`${p.label} is not shown as typed${trace}`);
    }
  }
  return { errors, nowhere };
}
