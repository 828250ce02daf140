// The body carries the effect's mark, runs its drift animation and the gradient position moves.

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
      const style = getComputedStyle(body);
      return { marks, animation: style.animationName, position: style.backgroundPosition };
    });
  const before = await state();
  const copies = context?.copies ?? 1;
  if (before.marks.length !== copies) throw new Error(`the body has ${before.marks.length} data-pGb marks, expected ${copies}`);
  if (!/^pGb\d+/.test(before.animation)) throw new Error(`the body runs animation "${before.animation}", not the drift`);
  const rules = await page.evaluate(() =>
    [...document.styleSheets].flatMap((sheet) => [...sheet.cssRules]).some((rule) => /linear-gradient/.test(rule.cssText) && /data-pgb\d+/i.test(rule.cssText)),
  );
  if (!rules) throw new Error("no gradient rule for the marked body");
  await until(page, "the gradient did not drift", (old) => getComputedStyle(document.body).backgroundPosition !== old, before.position);
}
