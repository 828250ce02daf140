// Firefox ESR (Debian's /usr/bin/firefox-esr) through puppeteer-core over WebDriver BiDi: one
// browser, a fresh browser context (its own storage) for every page. Reduced motion is a
// preference of the whole browser, so it is set when the browser starts.
import fs from "node:fs";
import { watchBrowser } from "./lost.js";

const FIREFOX = "/usr/bin/firefox-esr";

export async function launchFirefox(require, { reducedMotion, viewport }) {
  if (!fs.existsSync(FIREFOX)) throw new Error(`${FIREFOX} is missing (apt-get install firefox-esr)`);
  const puppeteer = require("puppeteer-core");
  const browser = await puppeteer.launch({
    browser: "firefox",
    executablePath: FIREFOX,
    headless: true,
    extraPrefsFirefox: { "ui.prefersReducedMotion": reducedMotion ? 1 : 0 },
  });
  const lost = watchBrowser(browser, "firefox-esr");
  return {
    name: "firefox",
    collectsInPage: false,
    async open(url) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const problems = [];
      page.on("pageerror", (e) => problems.push(`uncaught exception: ${e.message}`));
      page.on("console", (m) => {
        if (m.type() === "error") problems.push(`console error: ${m.text()}`);
      });
      page.on("requestfailed", (r) => problems.push(`failed to load ${r.url().slice(0, 160)}: ${r.failure() ? r.failure().errorText : "?"}`));
      await page.setViewport(viewport);
      let size = { ...viewport };
      // WebDriver moves the pointer only within the page's window: a point outside is taken to
      // the nearest one on its edge.
      const inside = (x, y) => [Math.max(0, Math.min(size.width - 1, Math.round(x))), Math.max(0, Math.min(size.height - 1, Math.round(y)))];
      await page.goto(url, { waitUntil: "load", timeout: 30000 });
      return {
        evaluate: (expression) => page.evaluate(expression),
        mouseMove: (x, y, steps) => page.mouse.move(...inside(x, y), { steps }),
        mouseClick: (x, y) => page.mouse.click(...inside(x, y)),
        async press(key, modifiers) {
          for (const m of modifiers) await page.keyboard.down(m);
          await page.keyboard.press(key);
          for (const m of [...modifiers].reverse()) await page.keyboard.up(m);
        },
        viewport: async () => ({ ...size }),
        async setViewport(next) {
          await page.setViewport(next);
          size = { ...next };
        },
        url: async () => page.url(),
        reload: () => page.reload({ waitUntil: "load", timeout: 30000 }),
        problems: async () => [...problems],
        screenshot: (file) => page.screenshot({ path: file }),
        // Tab from the last control of a page (or of a modal dialog) takes the focus out of the
        // page to the browser, and the page's buttons no longer act on Enter; a page opened and
        // closed beside it gives the focus back.
        async refocus() {
          if (await page.evaluate("document.hasFocus()")) return;
          const other = await context.newPage();
          await other.close();
          await page.bringToFront();
        },
        close: () => context.close(),
      };
    },
    lost: async () => lost.why,
    processId: () => browser.process().pid,
    close: () => browser.close(),
  };
}
