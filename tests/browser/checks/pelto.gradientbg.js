// The body carries one mark per copy, a gradient layer behind the page drifts, and it lets clicks through.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const state = () =>
    page.evaluate(() => {
      const body = document.body;
      const marks = body.getAttributeNames().filter((name) => /^data-pgb\d+$/.test(name));
      const layer = getComputedStyle(body, "::before");
      return {
        marks,
        animation: layer.animationName,
        image: layer.backgroundImage,
        position: layer.position,
        events: layer.pointerEvents,
        transform: layer.transform,
      };
    });
  const before = await state();
  const copies = context?.copies ?? 1;
  if (before.marks.length !== copies) throw new Error(`the body has ${before.marks.length} data-pGb marks, expected ${copies}`);
  if (!/^pGb\d+/.test(before.animation)) throw new Error(`the gradient layer runs animation "${before.animation}", not the drift`);
  if (!before.image.startsWith("linear-gradient(")) throw new Error(`the gradient layer shows "${before.image}"`);
  if (before.position !== "fixed" || before.events !== "none") throw new Error(`the gradient layer is ${before.position} and catches clicks: ${before.events}`);
  await until(page, "the gradient did not drift", (old) => getComputedStyle(document.body, "::before").transform !== old, before.transform);
}
