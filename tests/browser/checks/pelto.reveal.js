// Reveal Text on Scroll: elements below the fold wait hidden and appear when scrolled to.
export async function check(page, context = {}) {
  const confs = await page.locator("[data-pelto-reveal]").count();
  if (confs < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} reveal setting(s), found ${confs}`);
  await page.waitForFunction(() => document.querySelectorAll("[data-pelto-rv]").length > 0, null, { timeout: 5000 });
  const waiting = page.locator("[data-pelto-rv]:not([data-pelto-rv-in])");
  if ((await waiting.count()) === 0) {
    // On a page shared with other effects an earlier check may have scrolled everything into view.
    if (!context.all) throw new Error("no element waits below the fold");
    await page
      .waitForFunction(() => [...document.querySelectorAll("[data-pelto-rv]")].every((el) => getComputedStyle(el).opacity === "1"), null, { timeout: 5000 })
      .catch(() => {
        throw new Error("revealed elements did not become fully visible");
      });
  } else {
    const last = await waiting.last().elementHandle();
    const opacity = await last.evaluate((el) => getComputedStyle(el).opacity);
    if (opacity !== "0") throw new Error(`an element below the fold shows before it is scrolled to (opacity ${opacity})`);
    await last.evaluate((el) => el.scrollIntoView({ block: "center" }));
    await last.evaluate(
      (el) =>
        new Promise((resolve, reject) => {
          const t0 = performance.now();
          (function poll() {
            if (el.hasAttribute("data-pelto-rv-in") && getComputedStyle(el).opacity === "1") return resolve();
            if (performance.now() - t0 > 5000) return reject(new Error("the element did not appear after scrolling to it"));
            setTimeout(poll, 50);
          })();
        }),
    );
  }
  await page.evaluate(() => window.scrollTo(0, 0));
}
