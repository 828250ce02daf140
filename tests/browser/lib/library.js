// Reads the packed library of a program folder the way pelto-cli does: headers and definition
// files are stored scrambled in data/, as Windows-1252 text with CR LF line ends. Texts are
// returned as "byte strings": one character per byte (read as latin1), so they can be written
// back byte for byte.
import fs from "node:fs";
import path from "node:path";

const KEY = Buffer.from("Lumo Dratch Fenwey", "latin1");

export function readStored(file) {
  const bytes = fs.readFileSync(file);
  for (let i = 0; i < bytes.length; i++) bytes[i] ^= KEY[i % KEY.length];
  return bytes.toString("latin1");
}

// The blocks of a definition file: [{ kind, values }], comment lines left out.
export function definitionBlocks(text) {
  const lines = text.split(/\r\n|\n/);
  const blocks = [];
  let block = null;
  for (let i = 0; i < lines.length; i++) {
    if (lines[i].startsWith("//")) continue;
    if (lines[i] === "*") {
      do i++;
      while (i < lines.length && lines[i].startsWith("//"));
      block = { kind: parseInt(lines[i], 10), values: [] };
      blocks.push(block);
    } else if (block) {
      block.values.push(lines[i]);
    }
  }
  return blocks;
}

// Every script of the folder by id: { id, stem, header (lines), blocks }.
export function libraryScripts(home) {
  const data = path.join(home, "data");
  const scripts = new Map();
  for (const f of fs.readdirSync(data)) {
    if (!/\.hdr$/i.test(f)) continue;
    const stem = f.slice(0, -4);
    const header = readStored(path.join(data, f)).split(/\r\n/);
    const par = path.join(data, `${stem}.par`);
    const blocks = fs.existsSync(par) ? definitionBlocks(readStored(par)) : [];
    scripts.set(header[0], { id: header[0], stem, header, blocks });
  }
  return scripts;
}

// Counts the "Location" items of every header (one ***** line each on the all-effects page).
export function locationItems(scripts) {
  let count = 0;
  for (const s of scripts.values()) {
    const items = parseInt(s.header[7], 10) || 0;
    for (const line of s.header.slice(8, 8 + items)) if (line.split(",")[0].trim() === "Location") count++;
  }
  return count;
}

// The link texts of a page as the program reads them: the text after the opening tag of an
// "<a" up to the next "<", line breaks dropped and runs of blanks kept to one.
export function pageLinkTexts(pageBytes) {
  const texts = [];
  const re = /<\s*a(?=[\s>/])[^>]*>([^<]*)/gi;
  for (let m; (m = re.exec(pageBytes)); ) texts.push(m[1].replace(/[\r\n]/g, "").replace(/ {2,}/g, " "));
  return texts;
}
