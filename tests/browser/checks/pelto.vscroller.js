// Vertical News Scroller: the body carries the start flag, each box has the chosen size, the
// items rise, and they rest under the mouse.
export async function check(page, context = {}) {
  if (!(await page.evaluate(() => document.body.hasAttribute("data-pelto-vscroll")))) throw new Error("the body tag lacks data-pelto-vscroll");
  const boxes = page.locator("[data-pelto-vscroller]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} scroller box(es), found ${count}`);
  const offset = (box) => box.locator(".pelto-vs-track").evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m42);
  const rects = [];
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const rect = await box.boundingBox();
    if (!rect || Math.round(rect.width) !== 260 + 6) throw new Error(`box ${i + 1} is ${rect && rect.width}px wide, expected 266 (260 and the frame)`);
    rects.push(rect);
    const a = await offset(box);
    await page.waitForTimeout(500);
    const b = await offset(box);
    if (!(b < a)) throw new Error(`the items do not rise (offset ${a} then ${b})`);
    await box.hover();
    await page.waitForTimeout(100);
    const c = await offset(box);
    await page.waitForTimeout(300);
    if ((await offset(box)) !== c) throw new Error("the items still move under the mouse");
    await page.mouse.move(0, 0);
  }
  for (let i = 1; i < rects.length; i++) {
    const p = rects[i - 1], q = rects[i];
    if (p.x < q.x + q.width && q.x < p.x + p.width) throw new Error("two scroller boxes overlap");
  }
}
