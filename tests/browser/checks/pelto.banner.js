// Scrolling Text Banner: the banner sits at the top of the body, shows its message, the message
// moves, the pause button stops it for good (also once the mouse has left), and the play button,
// pressed from the keyboard, starts it again.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-banner]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} banner(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const text = box.locator(".pelto-bn-text");
    if (!(await text.textContent()).trim()) throw new Error("the banner has no message");
    if ((await box.getAttribute("aria-label")) !== (await text.textContent())) throw new Error(`the banner's name "${await box.getAttribute("aria-label")}" differs from its message`);
    await box.scrollIntoViewIfNeeded();
    await page.mouse.move(0, 600);
    const where = () => text.evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m41);
    const a = await where();
    await page.waitForTimeout(400);
    const b = await where();
    if (a === b) throw new Error(`the message does not move (offset stays ${a})`);
    const pause = box.locator(".pelto-bn-pause");
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 600);
    const c = await where();
    await page.waitForTimeout(400);
    if ((await where()) !== c) throw new Error("the message still moves after the pause button, with the mouse gone");
    await pause.focus();
    await page.keyboard.press(" ");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Space on the play button did not start the message");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    const d = await where();
    await page.waitForTimeout(400);
    if ((await where()) === d) throw new Error("the message does not move again after the play button");
  }
  await page.evaluate(() => window.scrollTo(0, 0));
  const first = await page.evaluate(() => {
    let el = document.body.firstElementChild;
    while (el && el.tagName === "SCRIPT") el = el.nextElementSibling;
    return el ? { banner: el.hasAttribute("data-pelto-banner"), tag: el.outerHTML.slice(0, 80) } : { banner: false, tag: "" };
  });
  if (!context.all && !first.banner) throw new Error(`the first element of the body is not a banner: ${first.tag}`);
}
