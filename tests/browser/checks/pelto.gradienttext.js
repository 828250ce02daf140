// Colour Wave Headline: the headline shows its text and the colour band moves.
export async function check(page, context = {}) {
  const heads = page.locator("[data-pelto-gradienttext]");
  const count = await heads.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} headline(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const text = heads.nth(i).locator(".pelto-gh-text");
    if (!(await text.textContent()).trim()) throw new Error("the headline is empty");
    if (!(await text.isVisible())) throw new Error("the headline is not visible");
    const where = () => text.evaluate((el) => getComputedStyle(el).backgroundPosition);
    const before = await where();
    await page.waitForTimeout(400);
    const after = await where();
    if (before === after) throw new Error(`the colour wave does not move (background-position stays ${before})`);
  }
}
