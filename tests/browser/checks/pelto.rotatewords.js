// Rotating Words: the changing word starts as the first word and moves on to the next.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-rotatewords]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} sentence(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const words = (await box.locator(".pelto-rw-word").allTextContents()).map((w) => w.trim());
    if (words.length < 2) throw new Error(`expected at least two words, found ${words.length}`);
    const slot = box.locator(".pelto-rw-slot");
    const first = (await slot.textContent()).trim();
    if (!(await slot.isVisible()) || !words.includes(first)) throw new Error(`the changing word shows "${first}"`);
    await box.evaluate((el) => { el.dataset.checkStart = el.querySelector(".pelto-rw-slot").textContent; });
    await box.evaluate(
      (el) =>
        new Promise((resolve, reject) => {
          const t0 = performance.now();
          (function poll() {
            if (el.querySelector(".pelto-rw-slot").textContent !== el.dataset.checkStart) return resolve();
            if (performance.now() - t0 > 6000) return reject(new Error("the word never changed"));
            setTimeout(poll, 50);
          })();
        }),
    );
  }
}
