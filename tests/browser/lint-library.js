// Checks the plain sources of the effect library before anything is packed or applied:
// header and definition layout, placeholders that name declared parameters with keywords of
// their kind, an escaping modifier on every placeholder that carries a user's text, unique file
// names across all effect folders, Windows-1252 text, ASCII-only code, and page text that would
// trip up the attach step (a second "*****", a "<body" or "</head" in code, a "< a" that the link
// scan would take for a link) or strict pages (inline event handlers, document.write).
//
//   node lint-library.js EFFECTS_DIR
import fs from "node:fs";
import path from "node:path";

const CATEGORIES = ["Menus", "Text Effects", "Scrollers", "Images", "Clocks and Dates", "Mouse Effects", "Backgrounds", "Page Tools", "Links and Tooltips"];
const LOCATIONS = ["Head", "Body_Onload", "Body_Top", "Body_End", "External", "Location", "Mouse_Handler", "Onload_Handler", "Onscroll_Handler", "Onresize_Handler"];
const HANDLERS = LOCATIONS.filter((l) => l.endsWith("_Handler"));
const PICTURE = /\.(gif|jpe?g|png|ico|bmp|webp)$/i;
const CP1252_EXTRA = "\u20ac\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u017d\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u017e\u0178";

// Keywords each parameter kind answers to; List also takes LE/DB/DC followed by a row number.
const KEYWORDS = {
  0: ["INTVALUE"],
  1: ["FULLFILENAME", "FILEPATH", "FILENAMEONLY"],
  2: ["FULLIMAGENAME", "IMAGEPATH", "IMAGENAMEONLY", "IMAGEWIDTH", "IMAGEHEIGHT"],
  3: ["HVALUE", "LVALUE", "R", "G", "B", "RH", "GH", "BH"],
  4: ["FONTNAME", "FONTSIZE", "FONTHSIZE", "FONTBOLD", "FONTBOLDINT", "FONTITALIC", "FONTITALICINT", "FONTUNDERLINE", "FONTSTRIKETHRU"],
  5: ["TEXTVALUE"],
  6: ["LISTENTRY", "LISTNOOFENTRIES", "FIRSTENTRY"],
  7: ["TEXTVALUE"],
  10: ["INTVALUE1", "INTVALUE2"],
  11: ["MENUDATA", "TOPLEVELENTRIES"],
  13: ["IMAGESNAME", "INTSEQUENCE", "SCRIPTREPEAT"],
};

// Keywords whose value is a user's text (or a name the user picked): they must end in |HTML, |JS
// or |URL, so a quote, "<" or "&" in the value cannot end an attribute, a string or a link.
// Numbers and colours need none; MENUDATA is script lines the core already escaped.
const TEXT_KEYWORDS = {
  1: ["FULLFILENAME", "FILEPATH", "FILENAMEONLY"],
  2: ["FULLIMAGENAME", "IMAGEPATH", "IMAGENAMEONLY"],
  5: ["TEXTVALUE"],
  6: ["LISTENTRY", "FIRSTENTRY"],
  7: ["TEXTVALUE"],
};
const MODIFIERS = ["HTML", "JS", "URL"];

function carriesText(kind, keyword) {
  return (TEXT_KEYWORDS[kind] || []).includes(keyword) || (kind === 6 && /^(LE|DB|DC)\d+$/.test(keyword));
}

// Code must be ASCII (bar the placeholder marks): the page it lands in may be in any encoding.
function nonAscii(file, text, problems) {
  const lines = text.split("\n");
  for (let i = 0; i < lines.length; i++) {
    const m = /[^\x00-\x7f\u00ae\u00af]/.exec(lines[i]);
    if (m) {
      const hex = m[0].codePointAt(0).toString(16).toUpperCase().padStart(4, "0");
      problems.push(`${path.basename(file)}:${i + 1}: non-ASCII character U+${hex} "${m[0]}" in code (write \\u${hex} in scripts, \\${hex} in CSS, &#x${hex}; in markup)`);
    }
  }
}

function isCp1252(text) {
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (c <= 0x7f || (c >= 0xa0 && c <= 0xff)) continue;
    if (!CP1252_EXTRA.includes(ch)) return false;
  }
  return true;
}

const readLines = (file) => fs.readFileSync(file, "utf8").replace(/\r\n?/g, "\n").replace(/\n$/, "").split("\n");

// Reads a definition file the way the program does and checks each block's line count.
function readDefinition(file, problems) {
  const lines = readLines(file);
  const where = (i) => `${path.basename(file)}:${i + 1}`;
  if (!lines[lines.length - 1].startsWith("//")) problems.push(`${where(lines.length - 1)}: the last line is never applied; end the file with "// end"`);
  const blocks = [];
  let block = null;
  for (let i = 0; i < lines.length - 1; i++) {
    const line = lines[i];
    if (line.startsWith("//")) continue;
    if (line === "*") {
      do i++;
      while (lines[i].startsWith("//"));
      block = { kind: parseInt(lines[i], 10), values: [], line: i };
      blocks.push(block);
      continue;
    }
    if (!block) problems.push(`${where(i)}: value line before the first "*" block`);
    else block.values.push(line);
  }
  const params = new Map();
  for (const b of blocks) {
    const v = b.values;
    const bad = (msg) => problems.push(`${where(b.line)}: kind ${b.kind} block ${msg}`);
    const need = (n) => v.length === n || bad(`has ${v.length} value lines, expected ${n}`);
    const num = (i) => /^-?\d+(\.\d+)?$/.test(v[i] || "") || bad(`line ${i + 1} ("${v[i]}") is not a number`);
    let name = null;
    switch (b.kind) {
      case 0: need(7); [0, 1, 2, 4].forEach(num); name = v[5]; break;
      case 1: case 2: need(4); name = v[2]; break;
      case 3: need(3); num(0); name = v[1]; break;
      case 4: need(8); [1, 2, 3, 4, 5].forEach(num); name = v[6]; break;
      case 5: need(8); [0, 1].forEach(num); if (!/^(true|false|-?\d+)$/i.test(v[5] || "")) bad("line 6 is not a truth value"); name = v[6]; break;
      case 6: {
        [0, 1, 2, 4, 6].forEach(num);
        const cols = Number(v[2]), rows = Number(v[4]);
        if (cols < 1 || cols > 3) bad(`has ${cols} columns`);
        if (v.length !== 12 + rows * cols) bad(`has ${v.length - 12} entries, expected rows x columns = ${rows * cols}`);
        name = v[10];
        break;
      }
      case 7: { [0, 1].forEach(num); const n = Number(v[1]); need(4 + 2 * n); if (Number(v[0]) >= n) bad("selects an option it does not have"); name = v[2]; break; }
      case 9:
        need(5);
        name = v[3];
        // The core puts the link texts in HTML-escaped: that is safe only inside a quoted value.
        if (/[*#]/.test((v[2] || "").replace(/"[^"]*"/g, ""))) bad('puts a link text ("*" or "#") outside a double-quoted attribute value');
        break;
      case 10: need(14); [0, 1, 2, 3, 4, 5, 8, 9].forEach(num); name = v[12]; break;
      case 11: { num(0); const n = Number(v[0]); need(4 + 3 * n); if (n === 0) bad("has no entries"); name = v[2]; break; }
      case 12: need(8); name = "Info"; break;
      default: bad("has an unknown kind");
    }
    if (name !== null) {
      if (params.has(name)) bad(`repeats the name "${name}"`);
      params.set(name, b.kind);
    }
  }
  return params;
}

function checkPlaceholders(file, text, params, problems) {
  const marks = /\u00ae([^\u00ae\u00af]*)\u00af/g;
  let m;
  while ((m = marks.exec(text))) {
    const inner = m[1];
    const comma = inner.indexOf(",");
    const at = `${path.basename(file)}: ®${inner}¯`;
    if (comma < 0) { problems.push(`${at} has no comma`); continue; }
    const name = inner.slice(0, comma);
    const [keyword, modifier, ...more] = inner.slice(comma + 1).toUpperCase().split("|");
    if (name === "Var") continue;
    const kind = name === "App" ? 13 : params.get(name);
    if (kind === undefined) { problems.push(`${at} names no parameter of this effect`); continue; }
    const ok = (KEYWORDS[kind] || []).includes(keyword) || (kind === 6 && /^(LE|DB|DC)\d+$/.test(keyword));
    if (!ok) problems.push(`${at}: ${keyword} is not a keyword of a kind ${kind} parameter`);
    if (modifier !== undefined && (!MODIFIERS.includes(modifier) || more.length)) problems.push(`${at}: the modifier must be one of |HTML, |JS or |URL`);
    else if (modifier === undefined && carriesText(kind, keyword)) problems.push(`${at} carries a user's text without |HTML, |JS or |URL`);
    else if (modifier !== undefined && keyword === "MENUDATA") problems.push(`${at}: MENUDATA is script lines that are escaped already; a modifier breaks them`);
  }
  const stray = text.replace(marks, "");
  if (/[\u00ae\u00af]/.test(stray)) problems.push(`${path.basename(file)}: a placeholder mark without its partner`);
}

// Text that the attach step or the link scan would misread once it stands in a page.
function checkPageText(file, text, location, problems) {
  const name = path.basename(file);
  if (text.includes("*****")) problems.push(`${name}: holds "*****", which the next "Location" effect would take for its mark`);
  if (/<\/head|<body|<\/body/i.test(text)) problems.push(`${name}: holds a head or body tag text, which the attach step would find first`);
  const opens = text.match(/<\s*a/gi) || [];
  const real = text.match(/<a[\s>]/gi) || [];
  const closes = text.match(/<\/a\s*>/gi) || [];
  if (opens.length !== real.length || real.length !== closes.length) problems.push(`${name}: a "<" followed by "a" that is not a closed link; the link scan would read it as one`);
  if (/\son[a-z]+\s*=\s*["']/i.test(text)) problems.push(`${name}: inline event handler attribute (use addEventListener)`);
  if (/document\.write|document\.all|navigator\.userAgent/.test(text)) problems.push(`${name}: uses document.write, document.all or browser sniffing`);
  if (HANDLERS.includes(location)) {
    const body = text.trim();
    if (!body.startsWith("{") || !body.endsWith("}")) problems.push(`${name}: chained handler code must be one block { ... }`);
  }
  if (location === "Body_Onload" && /[<>]/.test(text)) problems.push(`${name}: a Body_Onload item holds attributes only`);
}

// What a page under a strict Content-Security-Policy (default-src 'self') refuses: inline script
// (a handler chain item lands in the page's inline handler script), style elements and style
// attributes. Code and styles go into files beside the page; a file every copy shares is the
// same bytes whatever the values, so it holds no placeholder.
function checkStrictPolicy(code, text, location, once, problems) {
  if (HANDLERS.includes(location)) problems.push(`${code}: the ${location} item runs as inline script, which a strict policy refuses; register the listener in the effect's script file`);
  if (location === "External") {
    if (once === "1" && /\u00ae[^\u00ae\u00af]*\u00af/.test(text)) problems.push(`${code}: a shared file holds a placeholder, so its bytes would change with the values; keep the values in the page (data attributes)`);
    return;
  }
  for (const m of text.matchAll(/<script\b([^>]*)>/gi)) {
    if (!/\bsrc=/i.test(m[1]) && !/\btype=["']?(application\/json|text\/plain)/i.test(m[1])) problems.push(`${code}: inline <script>, which a strict policy refuses; put the code into the effect's script file`);
  }
  if (/<style\b/i.test(text)) problems.push(`${code}: a <style> element, which a strict policy refuses; put the rules into the effect's style file`);
  if (/<[a-z][^>]*\sstyle\s*=/i.test(text)) problems.push(`${code}: a style attribute, which a strict policy refuses; set the value in a data-look-* attribute`);
}

function lintEffect(dir, seen) {
  const problems = [];
  const files = fs.readdirSync(dir);
  const base = path.basename(dir);
  for (const f of files) {
    if (seen.has(f)) problems.push(`${f} also exists in ${seen.get(f)}; data/ holds every file of every effect`);
    seen.set(f, base);
    if (!PICTURE.test(f)) {
      const text = fs.readFileSync(path.join(dir, f), "utf8");
      if (!isCp1252(text)) problems.push(`${f}: holds a character that Windows-1252 cannot write`);
    }
  }
  const hdrs = files.filter((f) => f.endsWith(".hdr"));
  if (hdrs.length !== 1) return { problems: [...problems, `expected one .hdr file, found ${hdrs.length}`] };
  const hdr = readLines(path.join(dir, hdrs[0]));
  const stem = hdrs[0].slice(0, -4);
  const header = { id: hdr[0], prefix: (hdr[1] || "").trim(), stride: parseInt(hdr[2], 10), category: hdr[5] };
  if (!/^\S+$/.test(header.id || "")) problems.push(`${hdrs[0]}: line 1 is not a script id`);
  if (!/^[A-Za-z][A-Za-z0-9]*$/.test(header.prefix)) problems.push(`${hdrs[0]}: line 2 must start generated names with a letter`);
  if (header.stride !== 1000) problems.push(`${hdrs[0]}: line 3 (stride) should be 1000`);
  if (!CATEGORIES.includes(header.category)) problems.push(`${hdrs[0]}: category "${header.category}" is not one of the nine`);
  if (!/^-?\d+$/.test(hdr[6] || "")) problems.push(`${hdrs[0]}: line 7 must be a whole number`);
  const count = parseInt(hdr[7], 10);
  const items = hdr.slice(8).filter((l) => l.trim());
  if (items.length !== count) problems.push(`${hdrs[0]}: names ${count} items but lists ${items.length}`);
  if (!files.includes(`${stem}.par`)) return { header, problems: [...problems, `${stem}.par is missing`] };
  const params = readDefinition(path.join(dir, `${stem}.par`), problems);
  if (!params.has("Info")) problems.push(`${stem}.par: no Info block`);
  if (files.includes(`${stem}.cnd`)) {
    const cnd = readLines(path.join(dir, `${stem}.cnd`));
    if (cnd.length % 3) problems.push(`${stem}.cnd: ${cnd.length} lines, not a multiple of three`);
    for (let i = 0; i < cnd.length; i += 3) if (!params.has(cnd[i])) problems.push(`${stem}.cnd: condition for unknown parameter "${cnd[i]}"`);
  }
  const used = new Set([hdrs[0], `${stem}.par`, `${stem}.cnd`]);
  const locations = [];
  for (const item of items) {
    const [location, code, external, include, once] = item.split(",").map((s) => s.trim());
    locations.push(location);
    if (!LOCATIONS.includes(location)) problems.push(`${hdrs[0]}: unknown location "${location}"`);
    if (!/^[01]$/.test(include || "") || !/^[01]$/.test(once || "")) problems.push(`${hdrs[0]}: item "${item}" needs include and once flags 0 or 1`);
    if (location === "External" && (!external || /[\\/]|\.\./.test(external))) problems.push(`${hdrs[0]}: external item "${item}" needs a plain file name`);
    if (!files.includes(code)) { problems.push(`${hdrs[0]}: code file ${code} is missing`); continue; }
    used.add(code);
    if (!code.startsWith(`${stem}_`)) problems.push(`${code}: code files start with the effect's name "${stem}_"`);
    if (PICTURE.test(code)) continue;
    const text = fs.readFileSync(path.join(dir, code), "utf8");
    checkPlaceholders(code, text, params, problems);
    nonAscii(code, text, problems);
    if (location !== "External") checkPageText(code, text, location, problems);
    else if (/document\.write|document\.all|navigator\.userAgent/.test(text)) problems.push(`${code}: uses document.write, document.all or browser sniffing`);
    checkStrictPolicy(code, text, location, once, problems);
  }
  const mouseover = [...params].find(([, k]) => k === 9);
  if (mouseover) {
    const def = readLines(path.join(dir, `${stem}.par`));
    for (const line of def) if (line.includes("\u00ae")) checkPlaceholders(`${stem}.par`, line, params, problems);
  }
  for (const f of files) if (!used.has(f)) problems.push(`${f} is not named by the header`);
  return { header, locations, params, problems };
}

function main() {
  const root = path.resolve(process.argv[2] || "effects");
  const scripts = path.join(root, "scripts");
  const seen = new Map();
  const results = [];
  for (const folder of fs.readdirSync(scripts).sort()) {
    const dir = path.join(scripts, folder);
    if (fs.statSync(dir).isDirectory()) results.push({ folder, ...lintEffect(dir, seen) });
  }
  const general = [];
  const ids = new Map();
  const prefixes = new Map();
  for (const r of results) {
    if (!r.header) continue;
    if (ids.has(r.header.id)) r.problems.push(`script id ${r.header.id} is also used by ${ids.get(r.header.id)}`);
    if (prefixes.has(r.header.prefix)) r.problems.push(`name prefix ${r.header.prefix} is also used by ${prefixes.get(r.header.prefix)}`);
    ids.set(r.header.id, r.folder);
    prefixes.set(r.header.prefix, r.folder);
  }
  for (const c of [...CATEGORIES, "cdefault"]) {
    if (!fs.existsSync(path.join(root, "images", `${c}.gif`))) general.push(`images/${c}.gif is missing`);
  }
  for (const f of fs.existsSync(path.join(root, "handlers")) ? fs.readdirSync(path.join(root, "handlers")) : []) {
    nonAscii(`handlers/${f}`, fs.readFileSync(path.join(root, "handlers", f), "utf8"), general);
  }
  for (const name of ["sample.htm", "sample-utf8.htm", "sample-long.htm", "sample-dark.htm"]) {
    const file = path.join(root, name);
    if (!fs.existsSync(file)) { general.push(`${name} is missing`); continue; }
    const sample = fs.readFileSync(file, "latin1");
    if ((sample.match(/\*\*\*\*\*/g) || []).length !== 1) general.push(`${name} must hold exactly one ***** line`);
    // Byte 0xAE or 0xAF (in UTF-8 also inside characters such as the registered sign) would
    // open or close a placeholder when the page is expanded.
    if (/[\u00ae\u00af]/.test(sample)) general.push(`${name} holds the byte of a placeholder mark`);
  }
  let passed = 0;
  let failed = 0;
  for (const r of results) {
    if (r.problems.length === 0) {
      passed++;
      console.log(`ok    ${r.folder}`);
    } else {
      failed++;
      console.log(`FAIL  ${r.folder}`);
      for (const p of r.problems) console.log(`        ${p}`);
    }
  }
  if (general.length) {
    failed++;
    console.log("FAIL  library");
    for (const p of general) console.log(`        ${p}`);
  } else {
    passed++;
    console.log("ok    library (pictures, sample page)");
  }
  console.log(`lint: ${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

main();
