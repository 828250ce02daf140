// Responsive Menu Button: wide windows show the row of links; narrowing the window (the shared
// resize handler) folds it into a button that opens and closes the menu, also from the keyboard.
export async function check(page, context = {}) {
  const navs = page.locator("[data-pelto-sidemenu]");
  const count = await navs.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} menu(s), found ${count}`);
  const size = page.viewportSize();
  try {
    await page.setViewportSize({ width: 1400, height: size.height });
    for (let i = 0; i < count; i++) {
      const nav = navs.nth(i);
      const links = nav.locator(".pelto-sm-panel a");
      if ((await links.count()) < 2) throw new Error("the menu holds fewer than two links");
      if ((await links.first().getAttribute("href")) !== "#top") throw new Error("the first link does not lead to #top");
      await nav.locator(".pelto-sm-panel").waitFor({ state: "visible", timeout: 3000 });
      if (await nav.locator(".pelto-sm-toggle").isVisible()) throw new Error("the menu button shows in a wide window");
    }
    await page.setViewportSize({ width: 500, height: size.height });
    for (let i = 0; i < count; i++) {
      const nav = navs.nth(i);
      const button = nav.locator(".pelto-sm-toggle");
      const panel = nav.locator(".pelto-sm-panel");
      await button.waitFor({ state: "visible", timeout: 3000 });
      await panel.waitFor({ state: "hidden", timeout: 3000 });
      await button.focus();
      await page.keyboard.press("Enter");
      await panel.waitFor({ state: "visible", timeout: 3000 });
      if ((await button.getAttribute("aria-expanded")) !== "true") throw new Error("aria-expanded is not true while open");
      await panel.evaluate((ul) => Promise.all(ul.getAnimations().map((a) => a.finished)));
      const onTop = await panel.evaluate((ul) =>
        [...ul.querySelectorAll("a")].every((link) => {
          const box = link.getBoundingClientRect();
          return ul.contains(document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2));
        }),
      );
      if (!onTop) throw new Error("something covers the open menu");
      await page.keyboard.press("Escape");
      await panel.waitFor({ state: "hidden", timeout: 3000 });
    }
  } finally {
    await page.setViewportSize(size);
  }
}
