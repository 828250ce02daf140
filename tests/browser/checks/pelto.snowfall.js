// The snow layer covers the window, lets clicks through, keeps moving, and follows a resize; one
// visible button pauses and restarts the snow by mouse and keyboard, and a reader who asks for
// reduced motion starts with the snow standing still.

// The flakes are drawn on a canvas by a frame loop on the main thread (about 15-20% of its time
// while snowing); moving them by compositor animations instead is still to be done.
export const busyExempt = "the snow is drawn on a canvas by the main thread";

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

const pictures = (page) => page.$$eval("canvas.pelto-snowfall", (all) => all.map((canvas) => canvas.toDataURL()));

async function falls(page, what) {
  await until(page, what, (old) => [...document.querySelectorAll("canvas.pelto-snowfall")].every((canvas, i) => canvas.toDataURL() !== old[i]), await pictures(page));
}

async function standsStill(page, what) {
  const before = await pictures(page);
  await page.waitForTimeout(500);
  const after = await pictures(page);
  if (before.some((picture, i) => picture !== after[i])) throw new Error(what);
}

export async function check(page, context) {
  const layers = await page.$$eval("canvas.pelto-snowfall", (all) =>
    all.map((canvas) => ({ width: canvas.width, events: getComputedStyle(canvas).pointerEvents, expected: Math.round(innerWidth * devicePixelRatio) })),
  );
  const copies = context?.copies ?? 1;
  if (layers.length !== copies) throw new Error(`${layers.length} snow layers on the page, expected ${copies}`);
  for (const layer of layers) {
    if (layer.width !== layer.expected) throw new Error(`the snow layer is ${layer.width} pixels wide, not ${layer.expected}`);
    if (layer.events !== "none") throw new Error("the snow layer catches clicks");
  }
  const blank = await page.$$eval("canvas.pelto-snowfall", (all) =>
    all.some((canvas) => {
      const blankCanvas = document.createElement("canvas");
      blankCanvas.width = canvas.width;
      blankCanvas.height = canvas.height;
      return canvas.toDataURL() === blankCanvas.toDataURL();
    }),
  );
  if (blank) throw new Error("a snow layer is empty");
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
    await until(page, "the snow layer did not follow the resized window", () => [...document.querySelectorAll("canvas.pelto-snowfall")].every((canvas) => canvas.width === Math.round(innerWidth * devicePixelRatio)),
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
