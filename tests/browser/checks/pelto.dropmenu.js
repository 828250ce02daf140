// Drop-down Menu Bar: the bar is built from the menu data; a list opens on hover and on keyboard
// focus, Tab walks into it, Escape closes it and returns to its entry.
export async function check(page, context = {}) {
  const navs = page.locator("[data-pelto-dropmenu]");
  const count = await navs.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} menu bar(s), found ${count}`);
  for (let i = 0; i < count; i++) {
    const nav = navs.nth(i);
    const tops = nav.locator(":scope > ul > li");
    const want = Number(await nav.getAttribute("data-top"));
    if ((await tops.count()) !== want) throw new Error(`menu bar shows ${await tops.count()} entries, the data names ${want}`);
    const parent = nav.locator(":scope > ul > li.pelto-dm-parent").first();
    const sub = parent.locator(":scope > ul");
    if (await sub.isVisible()) throw new Error("a drop-down list is open before anything happened");
    // Keyboard: focusing the entry opens its list.
    await parent.locator(":scope > a").focus();
    await sub.waitFor({ state: "visible", timeout: 3000 });
    if ((await parent.locator(":scope > a").getAttribute("aria-expanded")) !== "true") throw new Error("aria-expanded is not true while open");
    await page.keyboard.press("Tab");
    if (!(await sub.locator("a").first().evaluate((el) => el === document.activeElement))) throw new Error("Tab from an open entry does not reach the first link of its list");
    await page.keyboard.press("Escape");
    await sub.waitFor({ state: "hidden", timeout: 3000 });
    if (!(await parent.locator(":scope > a").evaluate((el) => el === document.activeElement))) throw new Error("Escape did not return the focus to the entry of the closed list");
    if ((await parent.locator(":scope > a").getAttribute("aria-expanded")) !== "false") throw new Error("aria-expanded is not false after Escape");
    await parent.locator(":scope > a").evaluate((el) => el.blur());
    // Mouse: hovering the entry opens its list too.
    await parent.scrollIntoViewIfNeeded();
    await parent.hover();
    await sub.waitFor({ state: "visible", timeout: 3000 });
    await page.mouse.move(0, 0);
  }
}
