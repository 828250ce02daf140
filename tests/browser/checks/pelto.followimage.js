// The picture loads, glides to its place beside the pointer, and stays inside a smaller window; for a
// reader who asks for reduced motion it jumps to its place at once.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const pictures = page.locator("img.pelto-followimage");
  const count = await pictures.count();
  const copies = context?.copies ?? 1;
  if (count !== copies) throw new Error(`${count} following pictures on the page, expected ${copies}`);
  const loaded = await pictures.evaluateAll((all) => all.every((img) => img.complete && img.naturalWidth > 0));
  if (!loaded) throw new Error("the following picture did not load");
  const place = () =>
    pictures.evaluateAll((all) => all.map((img) => ({ x: img.getBoundingClientRect().left, y: img.getBoundingClientRect().top, w: img.offsetWidth, h: img.offsetHeight })));
  await page.mouse.move(300, 250, { steps: 5 });
  // Settled beside the pointer: 24px right and down for the first copy, further for later copies.
  await until(page, "the picture did not settle beside the pointer", () =>
      [...document.querySelectorAll("img.pelto-followimage")].every((img) => {
        const box = img.getBoundingClientRect();
        return getComputedStyle(img).visibility === "visible" && box.left >= 320 && box.left <= 360 && box.top >= 270 && box.top <= 310;
      }),
    null, 6000);
  const size = page.viewportSize();
  try {
    await page.mouse.move(size.width - 5, size.height - 5, { steps: 3 });
    await page.setViewportSize({ width: 360, height: 300 });
    await until(page, "the picture was not kept inside the smaller window", () =>
        [...document.querySelectorAll("img.pelto-followimage")].every((img) => {
          const box = img.getBoundingClientRect();
          return box.right <= innerWidth + 0.5 && box.bottom <= innerHeight + 0.5;
        }),
      null, 6000);
  } finally {
    await page.setViewportSize(size);
  }
  if ((await place()).some((p) => p.w < 1)) throw new Error("the following picture has no size");
  try {
    await page.emulateMedia({ reducedMotion: "reduce" });
    await page.mouse.move(500, 400);
    const jumped = await page.$$eval("img.pelto-followimage", (all) => all.map((img) => Math.round(img.getBoundingClientRect().top)));
    await page.waitForTimeout(200);
    const later = await page.$$eval("img.pelto-followimage", (all) => all.map((img) => Math.round(img.getBoundingClientRect().top)));
    if (jumped.join() !== later.join()) throw new Error(`with reduced motion the picture glided from ${jumped} to ${later} instead of jumping`);
    if (!(jumped[0] >= 420 && jumped[0] <= 430)) throw new Error(`with reduced motion the picture stands at ${jumped[0]}px, not beside the pointer`);
  } finally {
    await page.emulateMedia({ reducedMotion: null });
  }
}
