// The snow layer covers the window, lets clicks through, keeps moving, and follows a resize.
export async function check(page) {
  const layers = await page.$$eval("canvas.pelto-snowfall", (all) =>
    all.map((canvas) => ({ width: canvas.width, events: getComputedStyle(canvas).pointerEvents, expected: Math.round(innerWidth * devicePixelRatio) })),
  );
  if (layers.length < 1) throw new Error("no snow layer on the page");
  for (const layer of layers) {
    if (layer.width !== layer.expected) throw new Error(`the snow layer is ${layer.width} pixels wide, not ${layer.expected}`);
    if (layer.events !== "none") throw new Error("the snow layer catches clicks");
  }
  const picture = () => page.$$eval("canvas.pelto-snowfall", (all) => all.map((canvas) => canvas.toDataURL()));
  const first = await picture();
  const blank = await page.$$eval("canvas.pelto-snowfall", (all) =>
    all.some((canvas) => {
      const blankCanvas = document.createElement("canvas");
      blankCanvas.width = canvas.width;
      blankCanvas.height = canvas.height;
      return canvas.toDataURL() === blankCanvas.toDataURL();
    }),
  );
  if (blank) throw new Error("a snow layer is empty");
  await page.waitForTimeout(300);
  const second = await picture();
  if (first.some((data, i) => data === second[i])) throw new Error("the snow does not move");
  const size = page.viewportSize();
  try {
    await page.setViewportSize({ width: 500, height: 400 });
    await page.waitForFunction(
      () => [...document.querySelectorAll("canvas.pelto-snowfall")].every((canvas) => canvas.width === Math.round(innerWidth * devicePixelRatio)),
      null,
      { timeout: 3000 },
    );
  } finally {
    await page.setViewportSize(size);
  }
}
