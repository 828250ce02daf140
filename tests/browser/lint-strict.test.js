// The lint's strict-policy rules on one effect of the library (the ticker), changed one way per
// case: what a page under `default-src 'self'` would refuse must be named, what it allows must not.
//   node --test lint-strict.test.js
import { test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.join(here, "..", "..", "effects", "scripts", "ticker");
const MARK_OPEN = "\u00ae";
const MARK_CLOSE = "\u00af";

// Lints a copy of the ticker after `change(dir)`; returns the lines the lint printed for it.
function lintTicker(change) {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-lint-"));
  try {
    const dir = path.join(root, "scripts", "ticker");
    fs.cpSync(source, dir, { recursive: true });
    change(dir);
    const r = spawnSync(process.execPath, [path.join(here, "lint-library.js"), root], { encoding: "utf8" });
    const lines = r.stdout.split("\n");
    const start = lines.findIndex((l) => / ticker$/.test(l));
    assert.ok(start >= 0, `the lint printed nothing for the ticker:\n${r.stdout}`);
    const own = [lines[start]];
    for (let i = start + 1; i < lines.length && lines[i].startsWith("        "); i++) own.push(lines[i].trim());
    return own;
  } finally {
    fs.rmSync(root, { recursive: true, force: true });
  }
}

const append = (dir, file, text) => fs.appendFileSync(path.join(dir, file), text);

const CASES = [
  { name: "the library's ticker as it is", change: () => {}, expect: null },
  { name: "a JSON block and a text block in the markup", change: (d) => append(d, "ticker_body.txt", '<script type="application/json">{"a": 1}</script>\n<script type="text/plain">x</script>\n'), expect: null },
  { name: "inline script in the markup", change: (d) => append(d, "ticker_body.txt", "<script>console.log(1);</script>\n"), expect: "ticker_body.txt: inline <script>" },
  { name: "a style attribute in the markup", change: (d) => append(d, "ticker_body.txt", '<p style="color: red">x</p>\n'), expect: "ticker_body.txt: a style attribute" },
  { name: "a style element in the head item", change: (d) => append(d, "ticker_head.txt", "<style>p { color: red; }</style>\n"), expect: "ticker_head.txt: a <style> element" },
  {
    name: "a handler chain item",
    change: (d) => {
      fs.writeFileSync(path.join(d, "ticker_load.txt"), "{\n}\n");
      const hdr = fs.readFileSync(path.join(d, "ticker.hdr"), "utf8").split("\n");
      hdr[7] = String(Number(hdr[7]) + 1);
      fs.writeFileSync(path.join(d, "ticker.hdr"), [...hdr.filter((l, i) => i < 8 || l.trim()), "Onload_Handler,ticker_load.txt,,1,0", ""].join("\n"));
    },
    expect: "ticker_load.txt: the Onload_Handler item runs as inline script",
  },
  {
    name: "a value in the shared script file",
    change: (d) => append(d, "ticker_engine.js", `var speed = ${MARK_OPEN}Speed,INTVALUE${MARK_CLOSE};\n`),
    expect: "ticker_engine.js: a shared file holds a placeholder",
  },
];

for (const c of CASES) {
  test(c.name, () => {
    const lines = lintTicker(c.change);
    if (c.expect === null) assert.deepEqual(lines, ["ok    ticker"]);
    else {
      assert.equal(lines[0], "FAIL  ticker");
      assert.ok(lines.some((l) => l.startsWith(c.expect)), `expected "${c.expect}" among:\n${lines.join("\n")}`);
    }
  });
}
