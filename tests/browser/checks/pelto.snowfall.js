// The snow layer covers the window, lets clicks through, keeps moving, and follows a resize; one
// visible button pauses and restarts the snow by mouse and keyboard, and a reader who asks for
// reduced motion starts with the snow standing still.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

// Where every flake is now, one list per layer.
const pictures = (page) =>
  page.$$eval(".pelto-snowfall", (all) =>
    all.map((layer) => [...layer.children].map((flake) => { const r = flake.getBoundingClientRect(); return `${r.left.toFixed(1)},${r.top.toFixed(1)}`; }).join(" ")),
  );

async function falls(page, what) {
  await until(page, what, (old) => [...document.querySelectorAll(".pelto-snowfall")].every((layer, i) => [...layer.children].map((flake) => { const r = flake.getBoundingClientRect(); return `${r.left.toFixed(1)},${r.top.toFixed(1)}`; }).join(" ") !== old[i]), await pictures(page));
}

async function standsStill(page, what) {
  const before = await pictures(page);
  await page.waitForTimeout(500);
  const after = await pictures(page);
  if (before.some((picture, i) => picture !== after[i])) throw new Error(what);
}

export async function check(page, context) {
  const layers = await page.$$eval(".pelto-snowfall", (all) =>
    all.map((layer) => {
      const r = layer.getBoundingClientRect();
      const inView = [...layer.children].filter((flake) => {
        const f = flake.getBoundingClientRect();
        return f.width > 0 && f.bottom > 0 && f.top < innerHeight && f.right > 0 && f.left < innerWidth && getComputedStyle(flake).visibility === "visible";
      }).length;
      return { width: r.width, height: r.height, events: getComputedStyle(layer).pointerEvents, expected: document.documentElement.clientWidth, high: document.documentElement.clientHeight, flakes: layer.children.length, inView };
    }),
  );
  const copies = context?.copies ?? 1;
  if (layers.length !== copies) throw new Error(`${layers.length} snow layers on the page, expected ${copies}`);
  for (const layer of layers) {
    if (Math.round(layer.width) !== layer.expected || Math.round(layer.height) !== layer.high) throw new Error(`the snow layer is ${layer.width}x${layer.height} pixels, not the window's ${layer.expected}x${layer.high}`);
    if (layer.events !== "none") throw new Error("the snow layer catches clicks");
    // The default is 120 flakes; most of them are in the window at any time.
    if (layer.flakes === 0 || layer.inView < layer.flakes / 2) throw new Error(`only ${layer.inView} of ${layer.flakes} flakes are in the window`);
  }
  await falls(page, "the snow does not move");

  const pause = page.getByRole("button", { name: "Pause the snow", exact: true });
  if ((await pause.count()) !== 1) throw new Error(`${await pause.count()} buttons named "Pause the snow", expected one for all layers`);
  if (!(await pause.isVisible())) throw new Error("the pause button is not visible");
  await pause.click({ timeout: 5000 });
  const play = page.getByRole("button", { name: "Play the snow", exact: true });
  if ((await play.getAttribute("aria-pressed")) !== "true") throw new Error("the pressed pause button does not say so (aria-pressed)");
  await standsStill(page, "the snow falls on after the pause button was pressed");
  // From the keyboard: Enter on the focused button lets the snow fall again.
  await play.focus({ timeout: 5000 });
  await page.keyboard.press("Enter");
  if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the button did not start the snow again");
  await falls(page, "the snow did not fall again after the play button was pressed");
  await page.evaluate(() => document.activeElement.blur());

  const size = page.viewportSize();
  try {
    await page.setViewportSize({ width: 500, height: 400 });
    await until(page, "the snow layer did not follow the resized window", () => [...document.querySelectorAll(".pelto-snowfall")].every((layer) => Math.round(layer.getBoundingClientRect().width) === document.documentElement.clientWidth),
      null);
  } finally {
    await page.setViewportSize(size);
  }

  if (context?.all) return;
  // A reader who asks for reduced motion sees still flakes and the button to start them.
  try {
    await page.emulateMedia({ reducedMotion: "reduce" });
    await page.reload({ waitUntil: "load" });
    await standsStill(page, "the snow falls although reduced motion is asked for");
    await page.getByRole("button", { name: "Play the snow", exact: true }).click({ timeout: 5000 });
    await falls(page, "the play button did not start the snow for a reader who asked for reduced motion");
  } finally {
    await page.emulateMedia({ reducedMotion: null });
  }
}
