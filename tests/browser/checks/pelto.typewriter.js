// Typewriter Text: every box types its lines (the shown text is the start of a line and grows);
// the pause button holds the text and the cursor, and the play button, pressed from the
// keyboard, lets the typing go on.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-typewriter]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} typewriter box(es), found ${count}`);
  const typing = (out, lines, what) =>
    out.evaluate(
      (el, { lines, what }) =>
        new Promise((resolve, reject) => {
          const seen = [];
          const t0 = performance.now();
          (function poll() {
            const text = el.textContent;
            if (text.length > 0 && lines.some((l) => l.startsWith(text))) {
              if (seen.some((s) => text.length > s.length && text.startsWith(s))) return resolve();
              if (!seen.includes(text)) seen.push(text);
            }
            if (performance.now() - t0 > 8000) return reject(new Error(`typed text never grew ${what} (saw ${seen.join(" | ") || "nothing"})`));
            setTimeout(poll, 20);
          })();
        }),
      { lines, what },
    );
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    await box.scrollIntoViewIfNeeded();
    const lines = (await box.locator(".pelto-tw-line").allTextContents()).map((l) => l.trim());
    const out = box.locator(".pelto-tw-out");
    await typing(out, lines, "at the start");
    const pause = box.locator(".pelto-tw-pause");
    await pause.click();
    if ((await pause.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    const held = await out.textContent();
    await page.waitForTimeout(600);
    if ((await out.textContent()) !== held) throw new Error("the text still changes after the pause button");
    const blinking = await out.evaluate((el) => el.getAnimations({ subtree: true }).some((a) => a.playState === "running"));
    if (blinking) throw new Error("the cursor still blinks after the pause button");
    await pause.focus();
    await page.keyboard.press("Enter");
    if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the typing");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await out.evaluate((el, held) => new Promise((resolve, reject) => {
      const t0 = performance.now();
      (function poll() {
        if (el.textContent !== held) return resolve();
        if (performance.now() - t0 > 8000) return reject(new Error("the typing did not go on after the play button"));
        setTimeout(poll, 20);
      })();
    }), held);
  }
}
