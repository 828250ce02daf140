// The body shows the shipped picture, and with the depth effect the picture shifts on scrolling.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const state = () => page.evaluate(() => ({ image: document.body.style.backgroundImage, position: document.body.style.backgroundPosition }));
  const before = await state();
  const copies = context?.copies ?? 1;
  const scrolled = await page.evaluate(() => Object.keys(window).filter((name) => /^pTb\d+$/.test(name)).length);
  if (scrolled !== copies) throw new Error(`${scrolled} scroll functions of the picture background, expected ${copies}`);
  if (!before.image.includes("ptiledbg.gif")) throw new Error(`the body's picture is "${before.image}"`);
  const size = await page.evaluate(
    () =>
      new Promise((resolve) => {
        const picture = new Image();
        picture.onload = () => resolve(picture.naturalWidth);
        picture.onerror = () => resolve(0);
        picture.src = "ptiledbg.gif";
      }),
  );
  if (size !== 48) throw new Error(`the background picture did not load (width ${size})`);
  try {
    await page.evaluate(() => window.scrollTo(0, 1000));
    await until(page, "the picture did not shift when the page was scrolled", () => document.body.style.backgroundPosition === "0px -400px", null);
  } finally {
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
