// Rotating Words: the changing word starts as the first word and moves on to the next; the pause
// button holds it, and the play button, pressed from the keyboard, lets it change again. The slot
// is as wide as the longest word, so the button behind it stays where it is while words change.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-rotatewords]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} sentence(s), found ${count}`);
  const changes = (box, ms, what) =>
    box.evaluate(
      (el, { ms, what }) =>
        new Promise((resolve, reject) => {
          const slot = el.querySelector(".pelto-rw-now");
          const start = slot.textContent;
          const t0 = performance.now();
          (function poll() {
            if (slot.textContent !== start) return resolve();
            if (performance.now() - t0 > ms) return reject(new Error(what));
            setTimeout(poll, 50);
          })();
        }),
      { ms, what },
    );
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    await box.scrollIntoViewIfNeeded();
    const words = (await box.locator(".pelto-rw-word").allTextContents()).map((w) => w.trim());
    if (words.length < 2) throw new Error(`expected at least two words, found ${words.length}`);
    const slot = box.locator(".pelto-rw-now");
    const first = (await slot.textContent()).trim();
    if (!(await slot.isVisible()) || !words.includes(first)) throw new Error(`the changing word shows "${first}"`);
    const time = Number(await box.getAttribute("data-time"));
    await changes(box, time + 3000, "the word never changed");
    const pause = box.locator(".pelto-rw-pause");
    const slotWidth = await box.locator(".pelto-rw-slot").evaluate((el) => el.getBoundingClientRect().width);
    const widest = await box.locator(".pelto-rw-ghost").evaluateAll((els) => Math.max(...els.map((e) => e.getBoundingClientRect().width)));
    if (slotWidth + 0.5 < widest) throw new Error(`the slot is ${slotWidth} px wide, the longest word ${widest} px`);
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    await page.waitForTimeout(400);
    const held = await slot.textContent();
    await page.waitForTimeout(time + 300);
    if ((await slot.textContent()) !== held) throw new Error("the word still changes after the pause button");
    await pause.focus();
    await page.keyboard.press("Enter");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the words");
    await pause.blur();
    await changes(box, time + 3000, "the word did not change again after the play button");
  }
}
