// Moving the mouse brings out the dots, and they gather under the pointer; a reader who asks for
// reduced motion sees no trail.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const count = await page.locator(".pelto-cursortrail-dot").count();
  const expected = 12 * (context?.copies ?? 1);
  if (count !== expected) throw new Error(`${count} trail dots on the page, expected ${expected}`);
  await page.mouse.move(60, 60);
  await page.mouse.move(420, 300, { steps: 12 });
  await until(page, "the dots did not gather under the pointer", () =>
      [...document.querySelectorAll(".pelto-cursortrail-dot")].every((dot) => {
        const box = dot.getBoundingClientRect();
        const x = box.left + box.width / 2;
        const y = box.top + box.height / 2;
        return Number(getComputedStyle(dot).opacity) > 0 && Math.abs(x - 420) < 2 && Math.abs(y - 300) < 2;
      }),
    null);
  const blocking = await page.$$eval(".pelto-cursortrail-dot", (dots) => dots.filter((dot) => getComputedStyle(dot).pointerEvents !== "none").length);
  if (blocking) throw new Error(`${blocking} trail dots catch clicks`);
  try {
    await page.emulateMedia({ reducedMotion: "reduce" });
    await page.mouse.move(200, 200, { steps: 6 });
    await page.waitForTimeout(300);
    const seen = await page.$$eval(".pelto-cursortrail-dot", (dots) => dots.filter((dot) => Number(getComputedStyle(dot).opacity) > 0).length);
    if (seen) throw new Error(`${seen} trail dots show although reduced motion is asked for`);
  } finally {
    await page.emulateMedia({ reducedMotion: null });
  }
}
