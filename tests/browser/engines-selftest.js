// The engines of lib/engines/ and the page object the checks get (check-page.js), tried on
// small pages of known faults and known behaviour, so a check that passes in an engine has been
// able to fail there: an uncaught exception, a rejected promise, a console error and a missing
// picture are all reported, with their messages; a page without faults reports none; the
// page's encoding is read from the page; mouse, keyboard, locators and reduced motion act.
//
//   node --test engines-selftest.js            (every engine)
//   PELTO_ENGINES=webkit node --test engines-selftest.js
import { describe, it, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { spawnSync } from "node:child_process";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";
import { launchEngine, ENGINES } from "./lib/engines/index.js";
import { checkPage, NotOffered } from "./lib/engines/check-page.js";
import { COLLECTOR_SOURCE } from "./lib/engines/collector.js";
import { serveFolder } from "./lib/serve.js";
import { POLICY } from "./lib/strict-policy.js";

const here = path.dirname(fileURLToPath(import.meta.url));
const PACKAGE_JSON = path.join(here, "package.json");
const VIEWPORT = { width: 1200, height: 800 };
const engines = (process.env.PELTO_ENGINES || Object.keys(ENGINES).join(",")).split(",").filter(Boolean);

{
  const require = createRequire(PACKAGE_JSON);
  try {
    for (const p of ["playwright-core", "puppeteer-core", "selenium-webdriver"]) require.resolve(p);
  } catch {
    const r = spawnSync("npm", ["ci", "--no-audit", "--no-fund"], { cwd: here, stdio: "inherit", env: { ...process.env, PUPPETEER_SKIP_DOWNLOAD: "1" } });
    if (r.status !== 0) throw new Error("npm ci failed in " + here);
  }
}

const page = (body, head = "") => `<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8"><title>t</title>${head}</head><body>${body}</body></html>\n`;
// Pages of one fault each (the text each engine must report), and pages without any.
const FAULTS = [
  { file: "throws.htm", html: page(`<script>setTimeout(function () { throw new Error("thrown on purpose 17"); }, 0);</script>`), wants: /uncaught exception: .*thrown on purpose 17/ },
  { file: "throws-in-file.htm", html: page(`<script src="throws.js"></script>`), wants: /uncaught exception: .*thrown from a file 23/ },
  { file: "rejects.htm", html: page(`<script>Promise.reject(new Error("rejected on purpose 31"));</script>`), wants: /uncaught exception: .*rejected on purpose 31/ },
  { file: "console.htm", html: page(`<script>console.error("logged on purpose 41");</script>`), wants: /console error: .*logged on purpose 41/ },
  { file: "missing.htm", html: page(`<p>x</p><img src="no-such-picture.png" alt="">`), wants: /failed to load .*no-such-picture\.png/ },
];
const CLEAN = page(
  `<h1 id="h">Caf\u00e9</h1>
  <button id="b" style="position:absolute;left:100px;top:100px;width:120px;height:40px">Count me</button>
  <button id="b2" style="position:absolute;left:300px;top:100px" aria-label="Second button">2</button>
  <input id="i" style="position:absolute;left:100px;top:200px">
  <ul class="list"><li>one</li><li>two <b>bold</b></li><li>three</li></ul>
  <p class="far" style="margin-top:3000px">far below</p>
  <script>
    window.clicks = [];
    document.getElementById("b").addEventListener("click", function (e) { clicks.push([e.clientX, e.clientY]); });
    document.getElementById("b").addEventListener("mouseout", function (e) { window.outs = (e instanceof MouseEvent) + "/" + e.bubbles; });
    window.keys = [];
    document.addEventListener("keydown", function (e) { keys.push((e.shiftKey ? "Shift+" : "") + e.code); });
    console.log("only a log line");
  </script>`,
);
// Pages under the strict policy: one with inline code the policy blocks, one without.
const STRICT_META = `<meta http-equiv="Content-Security-Policy" content="${POLICY}">`;
const STRICT = page(`<p style="color: red">x</p><script>document.title = "inline code ran";</script>`, STRICT_META);
const STRICT_CLEAN = page(`<p>x</p><script src="strict-ok.js"></script>`, STRICT_META);
// A Windows-1252 page: the bytes E9 and 80 are "\u00e9" and "\u20ac" only when its meta charset is read.
const CP1252 = Buffer.from(`<!DOCTYPE html>\r\n<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1252"><title>t</title></head><body><p id="p">caf\u00e9 5 \u0080</p></body></html>\r\n`, "latin1");

let folder;
before(() => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-engines-"));
  for (const f of FAULTS) fs.writeFileSync(path.join(folder, f.file), f.html);
  fs.writeFileSync(path.join(folder, "throws.js"), 'setTimeout(function () { throw new Error("thrown from a file 23"); }, 0);\n');
  fs.writeFileSync(path.join(folder, "clean.htm"), CLEAN);
  fs.writeFileSync(path.join(folder, "cp1252.htm"), CP1252);
  fs.writeFileSync(path.join(folder, "strict.htm"), STRICT);
  fs.writeFileSync(path.join(folder, "strict-clean.htm"), STRICT_CLEAN);
  fs.writeFileSync(path.join(folder, "strict-ok.js"), 'document.title = "file ran";\n');
});
after(() => fs.rmSync(folder, { recursive: true, force: true }));

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

for (const name of engines) {
  describe(name, () => {
    let engine;
    let server;
    const open = async (file, use) => {
      const mark = server.mark();
      const tab = await engine.open(server.url(path.join(folder, file)));
      try {
        await sleep(300);
        const value = use ? await use(tab) : null;
        await sleep(100);
        return { value, problems: [...(await tab.problems()), ...server.failedSince(mark)], loaded: server.loadedSince(mark) };
      } finally {
        await tab.close();
      }
    };
    before(async () => {
      engine = await launchEngine(name, { reducedMotion: false, viewport: VIEWPORT }, PACKAGE_JSON);
      server = await serveFolder(folder, { inject: engine.collectsInPage ? { source: COLLECTOR_SOURCE } : null });
    });
    after(async () => {
      if (engine) await engine.close();
      if (server) await server.close();
    });

    for (const f of FAULTS) {
      it(`reports ${f.file}`, async () => {
        const { problems } = await open(f.file);
        assert.ok(
          problems.some((p) => f.wants.test(p)),
          `expected a problem like ${f.wants}, got ${JSON.stringify(problems)}`,
        );
        assert.ok(!problems.some((p) => /Script error\./.test(p)), `a message was cut down: ${JSON.stringify(problems)}`);
      });
    }

    it("reports nothing on a page without faults, and logs the URLs that loaded", async () => {
      const { problems, loaded } = await open("clean.htm");
      assert.deepEqual(problems, []);
      assert.ok(loaded.some((u) => u.endsWith("/clean.htm")), JSON.stringify(loaded));
    });

    it("counts the strict policy's violations where the collector is served, and none without them", async () => {
      const strict = await serveFolder(folder, { inject: { source: COLLECTOR_SOURCE } });
      const read = async (file) => {
        const tab = await engine.open(strict.url(path.join(folder, file)));
        try {
          await sleep(300);
          return await tab.evaluate("[document.title, (window.__peltoProblems || []).filter(function (p) { return p.indexOf('content security policy') >= 0; })]");
        } finally {
          await tab.close();
        }
      };
      try {
        const [title, violations] = await read("strict.htm");
        assert.equal(title, "t", "the inline script ran under the policy");
        assert.ok(violations.length >= 1, `no violation counted: ${JSON.stringify(violations)}`);
        assert.deepEqual(await read("strict-clean.htm"), ["file ran", []]);
      } finally {
        await strict.close();
      }
    });

    it("reads a Windows-1252 page in its own encoding", async () => {
      const { value } = await open("cp1252.htm", (tab) => tab.evaluate('document.getElementById("p").textContent'));
      assert.equal(value, "caf\u00e9 5 \u20ac");
    });

    it("evaluates, clicks, types and finds elements through the check page", async () => {
      await open("clean.htm", async (tab) => {
        const { page } = checkPage(tab, VIEWPORT, name);
        assert.deepEqual(page.viewportSize(), VIEWPORT);
        assert.deepEqual(await page.evaluate(() => [innerWidth, innerHeight]), [1200, 800]);
        assert.equal(await page.evaluate(async (n) => n * 2, 21), 42);
        assert.equal(await page.$eval("#h", (el) => el.textContent), "Caf\u00e9");
        assert.deepEqual(await page.$$eval(".list li", (els, sep) => els.map((el) => el.textContent).join(sep), "|"), "one|two bold|three");

        await page.mouse.click(160, 120);
        assert.deepEqual(await page.evaluate(() => clicks), [[160, 120]]);
        await page.locator("#b").click();
        assert.equal(await page.evaluate(() => clicks.length), 2);
        await page.getByRole("button", { name: "Count me", exact: true }).click();
        assert.equal(await page.evaluate(() => clicks.length), 3);
        assert.equal(await page.getByRole("button", { name: "Count", exact: true }).count(), 0);
        assert.equal(await page.getByRole("button", { name: "second" }).count(), 1);
        await assert.rejects(page.locator("button").click({ timeout: 1000 }), /strict mode violation/);
        await assert.rejects(page.locator("#nothing").click({ timeout: 500 }), /timeout 500ms exceeded/);

        await page.locator("#b").dispatchEvent("mouseout", { relatedTarget: null });
        assert.equal(await page.evaluate(() => window.outs), "true/true");
        await page.mouse.move(-50, 5000, { steps: 3 });

        await page.locator("#i").focus();
        await page.keyboard.press("Shift+Tab");
        await page.keyboard.press("Escape");
        // By code: WebKit's driver sends Shift+Tab with the key "Unidentified".
        assert.deepEqual(await page.evaluate(() => keys), ["Shift+ShiftLeft", "Shift+Tab", "Escape"]);
        assert.equal(await page.evaluate(() => document.activeElement.id), "b2");

        assert.equal(await page.locator(".list").locator(":scope > li").nth(1).locator("b").textContent(), "bold");
        assert.equal(await page.locator(".list li").filter({ hasText: /^thr/ }).count(), 1);
        assert.equal(await page.locator(".list li").last().evaluate((el, tail) => el.textContent + tail, "!"), "three!");
        assert.deepEqual(await page.locator(".list li").allTextContents(), ["one", "two bold", "three"]);
        assert.equal(await page.locator(".list b").locator("xpath=..").evaluate((el) => el.tagName), "LI");
        const box = await page.locator("#b").boundingBox();
        assert.deepEqual([box.x, box.y, box.width, box.height], [100, 100, 120, 40]);

        const style = await page.addStyleTag({ content: "#h { letter-spacing: 3px; }" });
        assert.equal(await page.$eval("#h", (el) => getComputedStyle(el).letterSpacing), "3px");
        await style.evaluate((el) => el.remove());
        assert.equal(await page.$eval("#h", (el) => getComputedStyle(el).letterSpacing), "normal");
        const second = await page.locator(".list li").nth(1).elementHandle();
        assert.equal(await second.evaluate((el, tail) => el.firstChild.data + tail, "?"), "two ?");
        await second.evaluate((el) => { el.tabIndex = 0; el.focus(); });
        await page.waitForFunction((el) => el === document.activeElement, second, { timeout: 1000 });
        assert.equal(await page.evaluate((el) => el.tagName, second), "LI");
        assert.equal((await page.evaluateHandle(() => null)).asElement(), null);
        const count = await page.evaluateHandle((n) => ({ n }), 5);
        assert.equal(count.asElement(), null);
        assert.equal(await count.evaluate((o) => o.n + 1), 6);

        await page.locator(".far").hover();
        assert.ok((await page.evaluate(() => scrollY)) > 1000, "hover did not scroll the element into view");
        await page.waitForFunction((y) => scrollY > y, 1000, { timeout: 2000 });
        await assert.rejects(page.waitForFunction(() => false, undefined, { timeout: 300 }), /timeout 300ms exceeded/);

        await page.setViewportSize({ width: 800, height: 600 });
        assert.deepEqual(await page.evaluate(() => [innerWidth, innerHeight]), [800, 600]);
        await page.setViewportSize(VIEWPORT);
      });
    });

    // Firefox's pages no longer act on Enter once Tab took the focus out of them.
    it("gives the page the focus back after Tab took it out of the page", async () => {
      await open("clean.htm", async (tab) => {
        await tab.evaluate('(document.getElementById("i").focus(), 0)');
        await tab.press("Tab", []);
        await tab.refocus();
        await tab.evaluate('(document.getElementById("b").focus(), 0)');
        await tab.press("Enter", []);
        assert.equal(await tab.evaluate("clicks.length"), 1, "Enter on a focused button did not click it");
      });
    });

    it("tells what it does not offer", async () => {
      await open("clean.htm", async (tab) => {
        const view = checkPage(tab, VIEWPORT, name);
        await view.ready();
        assert.ok(view.page.url().endsWith("/clean.htm"));
        assert.throws(() => view.page.emulateMedia, NotOffered);
        assert.throws(() => view.page.locator("#b").tap, NotOffered);
        assert.deepEqual(view.usedNotOffered, ["page.emulateMedia", "locator.tap"]);
      });
    });

    it("starts with reduced motion when asked to", async () => {
      const still = await launchEngine(name, { reducedMotion: true, viewport: VIEWPORT }, PACKAGE_JSON);
      try {
        const tab = await still.open(server.url(path.join(folder, "clean.htm")));
        assert.equal(await tab.evaluate('matchMedia("(prefers-reduced-motion: reduce)").matches'), true);
        await tab.close();
      } finally {
        await still.close();
      }
      const tab = await engine.open(server.url(path.join(folder, "clean.htm")));
      assert.equal(await tab.evaluate('matchMedia("(prefers-reduced-motion: reduce)").matches'), false);
      await tab.close();
    });

    // A browser that ends is told from a page that fails, so the runner can say so and go on.
    it("tells when its browser has ended", async (t) => {
      const doomed = await launchEngine(name, { reducedMotion: false, viewport: VIEWPORT }, PACKAGE_JSON);
      try {
        const tab = await doomed.open(server.url(path.join(folder, "clean.htm")));
        assert.equal(await doomed.lost(), null);
        await tab.close();
        const pid = doomed.processId();
        if (pid === null) return t.skip(`${name} does not give its process`);
        process.kill(pid, "SIGKILL");
        let gone = null;
        for (let i = 0; i < 50 && !gone; i++) {
          await sleep(100);
          gone = await doomed.lost();
        }
        assert.match(String(gone), /killed by SIGKILL/);
      } finally {
        await doomed.close().catch(() => {});
      }
    });
  });
}
