// Scrolling Text Banner: the banner sits at the top of the body, shows its message, and the
// message moves.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-banner]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} banner(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const text = boxes.nth(i).locator(".pelto-bn-text");
    if (!(await text.textContent()).trim()) throw new Error("the banner has no message");
    await page.mouse.move(0, 600);
    const where = () => text.evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m41);
    const a = await where();
    await page.waitForTimeout(400);
    const b = await where();
    if (a === b) throw new Error(`the message does not move (offset stays ${a})`);
  }
  const first = await page.evaluate(() => {
    let el = document.body.firstElementChild;
    while (el && el.tagName === "SCRIPT") el = el.nextElementSibling;
    return el ? { banner: el.hasAttribute("data-pelto-banner"), tag: el.outerHTML.slice(0, 80) } : { banner: false, tag: "" };
  });
  if (!context.all && !first.banner) throw new Error(`the first element of the body is not a banner: ${first.tag}`);
}
