// Colour Wave Headline: the headline shows its text, the colours wave (the upper of its two
// copies fades in and out), the pause button stops it and the play button, pressed from the
// keyboard, starts it again.
export async function check(page, context = {}) {
  const heads = page.locator("[data-pelto-gradienttext]");
  const count = await heads.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} headline(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const head = heads.nth(i);
    const text = head.locator(".pelto-gh-text");
    if (!(await text.textContent()).trim()) throw new Error("the headline is empty");
    await head.scrollIntoViewIfNeeded();
    if (!(await text.isVisible())) throw new Error("the headline is not visible");
    const where = () => text.locator(".pelto-gh-twin").evaluate((el) => getComputedStyle(el).opacity);
    const moves = async () => {
      const before = await where();
      await page.waitForTimeout(400);
      return before !== (await where());
    };
    if (!(await moves())) throw new Error(`the colour wave does not move (the upper copy's opacity stays ${await where()})`);
    const pause = head.locator("xpath=..").locator(".pelto-gh-pause");
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    if (await moves()) throw new Error("the colour wave still moves after the pause button");
    await pause.focus();
    await page.keyboard.press("Enter");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the wave");
    await pause.blur();
    if (!(await moves())) throw new Error("the colour wave does not move again after the play button");
  }
}
