// Responsive Menu Button: wide windows show the row of links; narrowing the window (the shared
// resize handler) folds it into a button that opens and closes the menu, also from the keyboard;
// the open menu closes as soon as Tab takes the focus out of it, so it never covers the focus.
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
      const entry = await nav.locator(".pelto-sm-panel li").first().getAttribute("data-entry");
      const bar = entry.lastIndexOf("|");
      if ((await links.first().textContent()) !== entry.slice(0, bar).trim()) throw new Error(`the first link reads "${await links.first().textContent()}", typed was "${entry}"`);
      if ((await links.first().getAttribute("href")) !== entry.slice(bar + 1).trim()) throw new Error(`the first link leads to "${await links.first().getAttribute("href")}", typed was "${entry}"`);
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
      const cover = await panel.evaluate((ul) => {
        for (const link of ul.querySelectorAll("a")) {
          const box = link.getBoundingClientRect();
          const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
          if (!ul.contains(hit)) {
            if (!hit) return "nothing (outside the window)";
            const attrs = [...hit.attributes].map((a) => `${a.name}="${a.value}"`).join(" ").slice(0, 160);
            return `<${hit.tagName.toLowerCase()} ${attrs}> at ${Math.round(box.left)},${Math.round(box.top)}`;
          }
        }
        return "";
      });
      if (cover) throw new Error(`something covers the open menu: ${cover}`);
      await page.keyboard.press("Escape");
      await panel.waitFor({ state: "hidden", timeout: 3000 });
      if (!(await button.evaluate((el) => el === document.activeElement))) throw new Error("Escape did not return the focus to the menu button");
      // Tab past the last link: the focus leaves the menu, and the menu closes.
      await page.keyboard.press("Enter");
      await panel.waitFor({ state: "visible", timeout: 3000 });
      const links = await panel.locator("a").count();
      for (let k = 0; k < links; k++) await page.keyboard.press("Tab");
      if (await panel.evaluate((ul) => ul.contains(document.activeElement))) throw new Error("Tab did not leave the menu");
      await panel.waitFor({ state: "hidden", timeout: 3000 }).catch(() => {
        throw new Error("the open menu stays open after the focus left it");
      });
      if ((await button.getAttribute("aria-expanded")) !== "false") throw new Error("aria-expanded is not false after the focus left the menu");
      await page.evaluate(() => document.activeElement && document.activeElement.blur());
    }
  } finally {
    await page.setViewportSize(size);
  }
}
