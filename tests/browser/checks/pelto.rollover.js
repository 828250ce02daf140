// Image Rollover Button: both pictures load; the highlight picture shows under the mouse and on
// keyboard focus, and hides again afterwards.
export async function check(page, context = {}) {
  const links = page.locator("[data-pelto-rollover]");
  const count = await links.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} button(s), found ${count}`);
  const opacity = (link) => link.locator(".pelto-ro-hover").evaluate((el) => Number(getComputedStyle(el).opacity));
  const settle = (link, want, how) =>
    link.locator(".pelto-ro-hover").evaluate(
      (el, { want, how }) =>
        new Promise((resolve, reject) => {
          const t0 = performance.now();
          (function poll() {
            if (Number(getComputedStyle(el).opacity) === want) return resolve();
            if (performance.now() - t0 > 3000) return reject(new Error(`the highlight picture did not ${how}`));
            setTimeout(poll, 30);
          })();
        }),
      { want, how },
    );
  for (let i = 0; i < count; i++) {
    const link = links.nth(i);
    const broken = await link.locator("img").evaluateAll((imgs) => imgs.filter((img) => img.naturalWidth === 0).map((img) => img.getAttribute("src")));
    if (broken.length) throw new Error(`pictures did not load: ${broken.join(", ")}`);
    if (!(await link.locator(".pelto-ro-normal").getAttribute("alt")).trim()) throw new Error("the button has no text for screen readers");
    if ((await opacity(link)) !== 0) throw new Error("the highlight picture shows before any hover");
    await link.scrollIntoViewIfNeeded();
    await link.hover();
    await settle(link, 1, "show under the mouse");
    await page.mouse.move(0, 0);
    await settle(link, 0, "hide when the mouse left");
    await link.focus();
    await page.keyboard.press("Shift+Tab");
    await page.keyboard.press("Tab");
    await settle(link, 1, "show on keyboard focus");
    await link.evaluate((el) => el.blur());
    await settle(link, 0, "hide when the focus left");
  }
}
