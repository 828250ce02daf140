// Chromium (Debian's /usr/bin/chromium) through playwright-core: one browser, a fresh context
// for every page.
import fs from "node:fs";
import { watchBrowser } from "./lost.js";

const CHROMIUM = "/usr/bin/chromium";

export async function launchChromium(require, { reducedMotion, viewport }) {
  if (!fs.existsSync(CHROMIUM)) throw new Error(`${CHROMIUM} is missing (apt-get install chromium)`);
  const { chromium } = require("playwright-core");
  const browser = await chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const lost = watchBrowser(browser, "chromium");
  return {
    name: "chromium",
    collectsInPage: false,
    async open(url) {
      const context = await browser.newContext({ viewport, reducedMotion: reducedMotion ? "reduce" : "no-preference" });
      const page = await context.newPage();
      const problems = [];
      page.on("pageerror", (e) => problems.push(`uncaught exception: ${e.message}`));
      page.on("console", (m) => {
        if (m.type() === "error") problems.push(`console error: ${m.text()}`);
      });
      page.on("requestfailed", (r) => problems.push(`failed to load ${r.url().slice(0, 160)}: ${r.failure() ? r.failure().errorText : "?"}`));
      await page.goto(url, { waitUntil: "load", timeout: 30000 });
      return {
        evaluate: (expression) => page.evaluate(expression),
        mouseMove: (x, y, steps) => page.mouse.move(x, y, { steps }),
        mouseClick: (x, y) => page.mouse.click(x, y),
        press: async (key, modifiers) => page.keyboard.press([...modifiers, key].join("+")),
        viewport: async () => page.viewportSize(),
        setViewport: (size) => page.setViewportSize(size),
        url: async () => page.url(),
        reload: () => page.reload({ waitUntil: "load", timeout: 30000 }),
        problems: async () => [...problems],
        screenshot: (file) => page.screenshot({ path: file }),
        // Keys act on the page's focused element here even when the focus left the page.
        refocus: async () => {},
        close: () => context.close(),
      };
    },
    lost: async () => lost.why,
    processId: () => null,
    close: () => browser.close(),
  };
}
