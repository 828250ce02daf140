// The browser engines the checks run in, behind one small interface:
//
//   const engine = await launchEngine("firefox", { reducedMotion: false, viewport: { width, height } });
//   engine.collectsInPage   true when pages must be served with collector.js (see serve.js)
//   const tab = await engine.open(url)          loads the page and waits for its load event
//   tab.evaluate(expression)                    a JavaScript expression in the page; a promise is awaited
//   tab.mouseMove(x, y, steps), tab.mouseClick(x, y), tab.press(key, [modifiers])
//   tab.viewport(), tab.setViewport({ width, height }), tab.url(), tab.reload()
//   tab.problems()                              uncaught exceptions, console errors and failed loads so far
//   tab.refocus()                               gives the page the keyboard focus again if it lost it
//   tab.screenshot(file), tab.close(), engine.close()
//   engine.lost()                               null while the browser is there, else how it went
//   engine.processId()                          the browser's (WebKit: its driver's) process, or null
//
// chromium: Debian's chromium through playwright-core; firefox: firefox-esr through
// puppeteer-core over WebDriver BiDi; webkit: MiniBrowser through webkit2gtk-driver and
// selenium-webdriver. None of them downloads a browser or a driver.
import { createRequire } from "node:module";
import { launchChromium } from "./chromium.js";
import { launchFirefox } from "./firefox.js";
import { launchWebKit } from "./webkit.js";

export const ENGINES = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };

export async function launchEngine(name, options, packageJson) {
  const launch = ENGINES[name];
  if (!launch) throw new Error(`unknown engine "${name}" (known: ${Object.keys(ENGINES).join(", ")})`);
  return launch(createRequire(packageJson), options);
}
