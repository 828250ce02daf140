// WebKitGTK through Debian's webkit2gtk-driver: WebKitWebDriver (classic WebDriver) on a
// loopback port, driven by selenium-webdriver, starts Debian's MiniBrowser in automation mode
// under its own Xvfb display. One browser window serves every page in turn; the storage of a
// page's origin is cleared when it closes. The driver reports no page errors, so the pages are
// served with the in-page collector (collector.js). Reduced motion follows GTK's
// gtk-enable-animations, set in a settings file of the browser's own configuration folder.
// Without a GPU, WebKit's accelerated compositing draws through a software GL, a few frames a
// second on the sample page: the browser draws without it (WEBKIT_DISABLE_COMPOSITING_MODE),
// some fifty frames a second.
import { spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import os from "node:os";
import path from "node:path";

const DRIVER = "/usr/bin/WebKitWebDriver";
// Debian's libwebkit2gtk-4.1-0 ships the browser here.
const MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const START_TIMEOUT_MS = 20000;

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer();
    s.once("error", reject);
    s.listen(0, "127.0.0.1", () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

// Starts Xvfb on a display it picks itself (-displayfd) and returns the process and ":N".
function startXvfb() {
  return new Promise((resolve, reject) => {
    const x = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1920x1200x24", "-nolisten", "tcp"], { stdio: ["ignore", "ignore", "ignore", "pipe"] });
    let out = "";
    const timer = setTimeout(() => {
      x.kill();
      reject(new Error("Xvfb did not start within 10 s"));
    }, 10000);
    x.once("error", (e) => {
      clearTimeout(timer);
      reject(new Error(`Xvfb could not start: ${e.message} (apt-get install xvfb)`));
    });
    x.once("exit", (code) => {
      clearTimeout(timer);
      reject(new Error(`Xvfb exited with ${code}`));
    });
    x.stdio[3].on("data", (d) => {
      out += d;
      if (out.includes("\n")) {
        clearTimeout(timer);
        x.removeAllListeners("exit");
        resolve({ xvfb: x, display: ":" + out.trim() });
      }
    });
  });
}

async function waitForDriver(port, driver) {
  const until = Date.now() + START_TIMEOUT_MS;
  while (Date.now() < until) {
    if (driver.exitCode !== null) throw new Error(`WebKitWebDriver exited with ${driver.exitCode}`);
    try {
      const r = await fetch(`http://127.0.0.1:${port}/status`);
      if (r.ok) return;
    } catch {
      // not listening yet
    }
    await sleep(100);
  }
  throw new Error(`WebKitWebDriver did not answer on port ${port} within ${START_TIMEOUT_MS / 1000} s`);
}

export async function launchWebKit(require, { reducedMotion, viewport }) {
  for (const [file, pkg] of [
    [DRIVER, "webkit2gtk-driver"],
    [MINIBROWSER, "libwebkit2gtk-4.1-0"],
  ]) {
    if (!fs.existsSync(file)) throw new Error(`${file} is missing (apt-get install ${pkg})`);
  }
  const { Builder, Key, Origin } = require("selenium-webdriver");
  const config = fs.mkdtempSync(path.join(os.tmpdir(), "pelto-webkit-"));
  fs.mkdirSync(path.join(config, "gtk-3.0"));
  fs.writeFileSync(path.join(config, "gtk-3.0", "settings.ini"), `[Settings]\ngtk-enable-animations=${reducedMotion ? "false" : "true"}\n`);
  const { xvfb, display } = await startXvfb();
  const port = await freePort();
  const driverProcess = spawn(DRIVER, [`--port=${port}`, "--host=127.0.0.1"], {
    stdio: ["ignore", "ignore", "inherit"],
    env: { ...process.env, DISPLAY: display, XDG_CONFIG_HOME: config, WAYLAND_DISPLAY: "", WEBKIT_DISABLE_COMPOSITING_MODE: "1" },
  });
  const stop = () => {
    driverProcess.kill();
    xvfb.kill();
  };
  process.once("exit", stop);
  let driver;
  try {
    await waitForDriver(port, driverProcess);
    // usingServer: selenium-webdriver talks to this driver and never looks for one of its own.
    driver = await new Builder()
      .usingServer(`http://127.0.0.1:${port}`)
      .withCapabilities({ browserName: "MiniBrowser", "webkitgtk:browserOptions": { binary: MINIBROWSER, args: ["--automation"] } })
      .build();
    await driver.manage().setTimeouts({ script: 30000, pageLoad: 30000 });
  } catch (e) {
    stop();
    throw e;
  }
  const run = (expression) => driver.executeScript(`return (${expression});`);
  // The window is larger than the page by its own frame; the page gets `size`.
  // The window may take a moment to take its new size: the page's size is read until it stops changing.
  const pageSize = async () => {
    let last = null;
    for (let i = 0; i < 20; i++) {
      const now = await run("[innerWidth, innerHeight]");
      if (last && now[0] === last[0] && now[1] === last[1]) return now;
      last = now;
      await sleep(50);
    }
    return last;
  };
  const setViewport = async (size) => {
    await driver.manage().window().setRect({ width: size.width, height: size.height });
    const [iw, ih] = await pageSize();
    if (iw !== size.width || ih !== size.height) {
      await driver.manage().window().setRect({ width: 2 * size.width - iw, height: 2 * size.height - ih });
      await pageSize();
    }
  };
  const KEYS = {
    Enter: Key.ENTER,
    Escape: Key.ESCAPE,
    Tab: Key.TAB,
    Shift: Key.SHIFT,
    Control: Key.CONTROL,
    Alt: Key.ALT,
    Meta: Key.META,
    ArrowDown: Key.ARROW_DOWN,
    ArrowUp: Key.ARROW_UP,
    ArrowLeft: Key.ARROW_LEFT,
    ArrowRight: Key.ARROW_RIGHT,
    Home: Key.HOME,
    End: Key.END,
    PageDown: Key.PAGE_DOWN,
    PageUp: Key.PAGE_UP,
    Backspace: Key.BACK_SPACE,
    Delete: Key.DELETE,
  };
  const key = (name) => {
    if (KEYS[name]) return KEYS[name];
    if ([...name].length === 1) return name;
    throw new Error(`the key "${name}" is not known to the WebKit driver`);
  };
  let size = { ...viewport };
  await setViewport(size);
  const mouse = { x: 0, y: 0 };
  // WebDriver moves the pointer only within the page's window: a point outside is taken to the
  // nearest one on its edge.
  const point = (x, y) => ({ x: Math.max(0, Math.min(size.width - 1, Math.round(x))), y: Math.max(0, Math.min(size.height - 1, Math.round(y))) });
  const earlier = [];
  const collected = async () => {
    try {
      return (await run("window.__peltoProblems ? window.__peltoProblems.slice() : []")) || [];
    } catch {
      return [];
    }
  };
  return {
    name: "webkit",
    collectsInPage: true,
    async open(url) {
      earlier.length = 0;
      await driver.get(url);
      return {
        evaluate: run,
        async mouseMove(x, y, steps = 1) {
          let actions = driver.actions();
          const from = { ...mouse };
          for (let i = 1; i <= steps; i++) actions = actions.move({ ...point(from.x + ((x - from.x) * i) / steps, from.y + ((y - from.y) * i) / steps), origin: Origin.VIEWPORT, duration: 0 });
          await actions.perform();
          Object.assign(mouse, { x, y });
        },
        async mouseClick(x, y) {
          await driver.actions().move({ ...point(x, y), origin: Origin.VIEWPORT, duration: 0 }).press().release().perform();
          Object.assign(mouse, { x, y });
        },
        async press(name, modifiers) {
          let actions = driver.actions();
          for (const m of modifiers) actions = actions.keyDown(key(m));
          actions = actions.keyDown(key(name)).keyUp(key(name));
          for (const m of [...modifiers].reverse()) actions = actions.keyUp(key(m));
          await actions.perform();
        },
        viewport: async () => ({ ...size }),
        async setViewport(next) {
          await setViewport(next);
          size = { ...next };
        },
        url: () => driver.getCurrentUrl(),
        async reload() {
          earlier.push(...(await collected()));
          await driver.navigate().refresh();
        },
        problems: async () => [...earlier, ...(await collected())],
        async screenshot(file) {
          fs.writeFileSync(file, Buffer.from(await driver.takeScreenshot(), "base64"));
        },
        refocus: async () => {},
        async close() {
          await run("(localStorage.clear(), sessionStorage.clear(), 0)").catch(() => {});
          await driver.manage().deleteAllCookies().catch(() => {});
          await driver.actions().clear().catch(() => {});
          if (size.width !== viewport.width || size.height !== viewport.height) {
            await setViewport(viewport);
            size = { ...viewport };
          }
          await driver.get("about:blank");
        },
      };
    },
    // The driver gone, or the browser window it drives: a session that no longer answers.
    async lost() {
      if (driverProcess.exitCode !== null || driverProcess.signalCode !== null) return `WebKitWebDriver ended (${driverProcess.signalCode ? `killed by ${driverProcess.signalCode}` : `exited with ${driverProcess.exitCode}`})`;
      try {
        await driver.getWindowHandle();
        return null;
      } catch (e) {
        return `MiniBrowser no longer answers its driver (${String(e.message).split("\n")[0]})`;
      }
    },
    processId: () => driverProcess.pid,
    async close() {
      try {
        await driver.quit();
      } finally {
        stop();
        process.removeListener("exit", stop);
        fs.rmSync(config, { recursive: true, force: true });
      }
    },
  };
}
