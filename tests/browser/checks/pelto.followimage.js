// The picture loads, glides to its place beside the pointer, and stays inside a smaller window.
export async function check(page) {
  const pictures = page.locator("img.pelto-followimage");
  const count = await pictures.count();
  if (count < 1) throw new Error("no following picture on the page");
  const loaded = await pictures.evaluateAll((all) => all.every((img) => img.complete && img.naturalWidth > 0));
  if (!loaded) throw new Error("the following picture did not load");
  const place = () =>
    pictures.evaluateAll((all) => all.map((img) => ({ x: img.getBoundingClientRect().left, y: img.getBoundingClientRect().top, w: img.offsetWidth, h: img.offsetHeight })));
  await page.mouse.move(300, 250, { steps: 5 });
  // Settled beside the pointer: 24px right and down for the first copy, further for later copies.
  await page.waitForFunction(
    () =>
      [...document.querySelectorAll("img.pelto-followimage")].every((img) => {
        const box = img.getBoundingClientRect();
        return getComputedStyle(img).visibility === "visible" && box.left >= 320 && box.left <= 360 && box.top >= 270 && box.top <= 310;
      }),
    null,
    { timeout: 4000 },
  );
  const size = page.viewportSize();
  try {
    await page.mouse.move(size.width - 5, size.height - 5, { steps: 3 });
    await page.setViewportSize({ width: 360, height: 300 });
    await page.waitForFunction(
      () =>
        [...document.querySelectorAll("img.pelto-followimage")].every((img) => {
          const box = img.getBoundingClientRect();
          return box.right <= innerWidth + 0.5 && box.bottom <= innerHeight + 0.5;
        }),
      null,
      { timeout: 4000 },
    );
  } finally {
    await page.setViewportSize(size);
  }
  if ((await place()).some((p) => p.w < 1)) throw new Error("the following picture has no size");
}
