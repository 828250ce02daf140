// The snow layer covers the window, lets clicks through, keeps moving, and follows a resize.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
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
  const first = await page.$$eval("canvas.pelto-snowfall", (all) => all.map((canvas) => canvas.toDataURL()));
  await until(page, "the snow does not move", (old) => [...document.querySelectorAll("canvas.pelto-snowfall")].every((canvas, i) => canvas.toDataURL() !== old[i]), first);
  const size = page.viewportSize();
  try {
    await page.setViewportSize({ width: 500, height: 400 });
    await until(page, "the snow layer did not follow the resized window", () => [...document.querySelectorAll("canvas.pelto-snowfall")].every((canvas) => canvas.width === Math.round(innerWidth * devicePixelRatio)),
      null);
  } finally {
    await page.setViewportSize(size);
  }
}
