// News Ticker: the engine file loads, headlines become links, the strip moves, and the pause
// button stops it.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-ticker]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} ticker(s), found ${count}`);
  if (!(await page.evaluate(() => typeof window.PeltoTicker === "object"))) throw new Error("pelto-ticker.js did not load");
  const offset = (box) => box.locator(".pelto-tk-track").evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m41);
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    if ((await box.locator(".pelto-tk-list").first().locator("a").count()) < 2) throw new Error("the headlines did not become links");
    await page.mouse.move(0, 0);
    const a = await offset(box);
    await page.waitForTimeout(500);
    const b = await offset(box);
    if (a === b) throw new Error(`the strip does not move (offset stays ${a})`);
    await box.locator(".pelto-tk-pause").click();
    await page.mouse.move(0, 0);
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    const c = await offset(box);
    await page.waitForTimeout(400);
    if ((await offset(box)) !== c) throw new Error("the strip still moves after the pause button");
    await box.locator(".pelto-tk-pause").click();
    await page.mouse.move(0, 0);
  }
}
