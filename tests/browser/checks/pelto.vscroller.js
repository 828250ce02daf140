// Vertical News Scroller: the body carries the start flag, each box has the chosen size, the
// items rise, rest under the mouse, stop for good with the pause button and start again with the
// play button from the keyboard; the box never hides a focused control of the page.
export async function check(page, context = {}) {
  if (!(await page.evaluate(() => document.body.hasAttribute("data-pelto-vscroll")))) throw new Error("the body tag lacks data-pelto-vscroll");
  const boxes = page.locator("[data-pelto-vscroller]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} scroller box(es), found ${count}`);
  const offset = (box) => box.locator(".pelto-vs-track").evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m42);
  // Samples the offset over `ms`: the items rise when one sample lies above the one before. At
  // the end of a round the items start again from the bottom, so a single pair may go the other way.
  const rises = async (box, ms) => {
    const seen = [await offset(box)];
    for (let i = 0; i < 3; i++) {
      await page.waitForTimeout(ms / 3);
      seen.push(await offset(box));
      if (seen[i + 1] < seen[i]) return null;
    }
    return seen.join(" then ");
  };
  const rects = [];
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const rect = await box.boundingBox();
    if (!rect || Math.round(rect.width) !== 260 + 6) throw new Error(`box ${i + 1} is ${rect && rect.width}px wide, expected 266 (260 and the frame)`);
    rects.push(rect);
    const still = await rises(box, 600);
    if (still) throw new Error(`the items do not rise (offset ${still})`);
    await box.locator(".pelto-vs-view").hover();
    await page.waitForTimeout(100);
    const c = await offset(box);
    await page.waitForTimeout(300);
    if ((await offset(box)) !== c) throw new Error("the items still move under the mouse");
    const pause = box.locator(".pelto-vs-pause");
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
    const d = await offset(box);
    await page.waitForTimeout(400);
    if ((await offset(box)) !== d) throw new Error("the items still move after the pause button, with the mouse gone");
    await pause.focus();
    await page.keyboard.press("Enter");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the items");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    if (await rises(box, 600)) throw new Error("the items do not rise again after the play button");
  }
  for (let i = 1; i < rects.length; i++) {
    const p = rects[i - 1], q = rects[i];
    if (p.x < q.x + q.width && q.x < p.x + p.width) throw new Error("two scroller boxes overlap");
  }
  // A control of the page's own that sits where the box floats stays in sight while it has the focus.
  const box = rects[0];
  const covered = await page.evaluate(async ({ x, y }) => {
    const own = document.createElement("button");
    own.textContent = "Order now";
    own.style.cssText = `position: fixed; left: ${x}px; top: ${y}px;`;
    document.body.appendChild(own);
    const frame = () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    own.focus();
    await frame();
    const r = own.getBoundingClientRect();
    const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
    own.blur();
    await frame();
    own.remove();
    return hit === own ? "" : hit ? `<${hit.tagName.toLowerCase()} class="${hit.className}">` : "nothing";
  }, { x: Math.round(box.x + box.width / 2 - 30), y: Math.round(box.y + box.height / 2) });
  if (covered) throw new Error(`a focused control under the scroller box is covered by ${covered}`);
}
