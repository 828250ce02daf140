// The program side of the engine checks: a copy of the program folder, and pelto-cli to list
// the effects and apply them (with default values, or with a template of values).
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";

// The sample pages: Windows-1252 and UTF-8.
export const SAMPLE_PAGES = [
  { file: "sample.htm", name: "Windows-1252 page" },
  { file: "sample-utf8.htm", name: "UTF-8 page" },
];

// Copies what pelto-cli reads from a program folder into `work`/home.
export function makeHome(source, work) {
  const home = path.join(work, "home");
  fs.mkdirSync(home, { recursive: true });
  for (const name of ["data", "images", "help", "userdata"]) {
    if (fs.existsSync(path.join(source, name))) fs.cpSync(path.join(source, name), path.join(home, name), { recursive: true });
  }
  for (const { file } of SAMPLE_PAGES) {
    if (!fs.existsSync(path.join(source, file))) throw new Error(`${path.join(source, file)} is missing (build the pelto_data target)`);
    fs.copyFileSync(path.join(source, file), path.join(home, file));
  }
  fs.mkdirSync(path.join(home, "output"), { recursive: true });
  fs.mkdirSync(path.join(home, "userdata"), { recursive: true });
  return home;
}

export function cli(cliPath, home, cliArgs) {
  const r = spawnSync(cliPath, ["--home", home, ...cliArgs], { encoding: "latin1", timeout: 60000 });
  if (r.error) throw new Error(`pelto-cli ${cliArgs.join(" ")}: ${r.error.message}`);
  if (r.status !== 0) throw new Error(`pelto-cli ${cliArgs.join(" ")} exited with ${r.status}: ${(r.stderr || r.stdout).trim()}`);
  return r.stdout;
}

// The effects `pelto-cli list` prints: { index, id, category, name }.
export function listScripts(cliPath, home) {
  return cli(cliPath, home, ["list"])
    .split(/\r?\n/)
    .filter((l) => l.trim())
    .map((l) => {
      const [index, id, category, name] = l.split("\t");
      return { index: Number(index), id, category, name };
    });
}

// Applies one effect to `pagePath` and copies everything the apply wrote (the result page and
// its external files) into `into`; returns the path of the copied result page.
export function applyEffect(cliPath, home, id, pagePath, into, extra = []) {
  const out = cli(cliPath, home, ["apply", id, pagePath, "--repeat", "0", "--mode", "preview", "--yes", ...extra]);
  const lines = out.split(/\r?\n/).filter((l) => l.trim());
  const result = lines[lines.length - 1].trim();
  if (!fs.existsSync(result)) throw new Error(`pelto-cli apply printed ${result}, which does not exist`);
  fs.mkdirSync(into, { recursive: true });
  const outputDir = path.dirname(result);
  for (const f of fs.readdirSync(outputDir)) fs.copyFileSync(path.join(outputDir, f), path.join(into, f));
  return path.join(into, path.basename(result));
}

// A placeholder the expansion left behind shows as the marks 174 and 175 in the written files.
export function leftPlaceholders(dir) {
  const found = [];
  for (const f of fs.readdirSync(dir)) {
    if (/\.(gif|jpe?g|png|ico|bmp|webp)$/i.test(f) || /\.p\d\d$/.test(f)) continue;
    const file = path.join(dir, f);
    if (!fs.statSync(file).isFile()) continue;
    const m = /\u00ae[^\u00ae\u00af\r\n]{0,60}\u00af/.exec(fs.readFileSync(file, "latin1"));
    if (m) found.push(`${f}: ${m[0]}`);
  }
  return found;
}

// The sample page with `marks` lines of "*****" where it has one.
export function pageWithMarks(home, marks, target) {
  const text = fs.readFileSync(path.join(home, "sample.htm"), "latin1");
  const lines = Array.from({ length: Math.max(1, marks) }, () => "*****").join("\r\n");
  const i = text.indexOf("*****");
  if (i < 0) throw new Error("sample.htm has no ***** line");
  fs.mkdirSync(path.dirname(target), { recursive: true });
  fs.writeFileSync(target, text.slice(0, i) + lines + text.slice(i + 5), "latin1");
  return target;
}
