// News Ticker: the engine file loads, headlines become links with the typed text and address,
// the strip moves, the pause button (by mouse and by keyboard) stops it and its frame loop, and
// the play button starts it again.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-ticker]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} ticker(s), found ${count}`);
  if (!(await page.evaluate(() => !!(window.Pelto && window.Pelto.ticker)))) throw new Error("pelto-ticker.js did not load");
  const offset = (box) => box.locator(".pelto-tk-track").evaluate((el) => new DOMMatrix(getComputedStyle(el).transform).m41);
  // Counts animation frames the page asks for over a while.
  const framesAsked = () =>
    page.evaluate(
      () =>
        new Promise((resolve) => {
          const ask = window.requestAnimationFrame;
          let n = 0;
          window.requestAnimationFrame = function (fn) { n++; return ask.call(window, fn); };
          setTimeout(() => { window.requestAnimationFrame = ask; resolve(n); }, 300);
        }),
    );
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const first = box.locator(".pelto-tk-list").first().locator("li").first();
    const entry = await first.getAttribute("data-entry");
    const bar = entry.lastIndexOf("|");
    const link = first.locator("a");
    if ((await link.count()) !== 1) throw new Error("the first headline did not become a link");
    if ((await link.textContent()) !== entry.slice(0, bar).trim()) throw new Error(`the link reads "${await link.textContent()}", typed was "${entry}"`);
    if ((await link.getAttribute("href")) !== entry.slice(bar + 1).trim()) throw new Error(`the link leads to "${await link.getAttribute("href")}", typed was "${entry}"`);
    await box.scrollIntoViewIfNeeded();
    await page.mouse.move(0, 0);
    const a = await offset(box);
    await page.waitForTimeout(500);
    const b = await offset(box);
    if (a === b) throw new Error(`the strip does not move (offset stays ${a})`);
    const pause = box.locator(".pelto-tk-pause");
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    await page.mouse.move(0, 0);
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    const c = await offset(box);
    await page.waitForTimeout(400);
    if ((await offset(box)) !== c) throw new Error("the strip still moves after the pause button");
    if (count === 1 && !context.all && (await framesAsked()) > 0) throw new Error("the frame loop keeps running while paused");
    // The keyboard starts it again.
    await pause.focus();
    await page.keyboard.press("Enter");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the strip");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
    const d = await offset(box);
    await page.waitForTimeout(400);
    if ((await offset(box)) === d) throw new Error("the strip does not move again after the play button");
  }
}
