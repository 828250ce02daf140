// Reveal Text on Scroll: elements below the fold wait hidden and appear when scrolled to.
export async function check(page, context = {}) {
  const confs = await page.locator("[data-pelto-reveal]").count();
  if (confs < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} reveal setting(s), found ${confs}`);
  await page.waitForFunction(() => document.querySelectorAll(".pelto-rv").length > 0, null, { timeout: 5000 });
  const last = page.locator(".pelto-rv").last();
  const state = () => last.evaluate((el) => ({ shown: el.classList.contains("pelto-rv-in"), opacity: getComputedStyle(el).opacity }));
  const before = await state();
  if (before.shown || before.opacity !== "0") throw new Error(`the last element below the fold is already shown (${JSON.stringify(before)})`);
  await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
  await last.evaluate(
    (el) =>
      new Promise((resolve, reject) => {
        const t0 = performance.now();
        (function poll() {
          if (el.classList.contains("pelto-rv-in") && getComputedStyle(el).opacity === "1") return resolve();
          if (performance.now() - t0 > 5000) return reject(new Error("the element did not appear after scrolling to it"));
          setTimeout(poll, 50);
        })();
      }),
  );
  await page.evaluate(() => window.scrollTo(0, 0));
}
