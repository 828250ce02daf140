// The bar holds the default entries; a list opens on hover and from the keyboard, and Escape closes it.
const fail = (what) => {
  throw new Error(what);
};

export async function check(page, context) {
  const bars = page.locator("nav.pelto-quicklinks");
  const count = await bars.count();
  const copies = context?.copies ?? 1;
  if (count !== copies) throw new Error(`${count} quick links bars on the page, expected ${copies}`);
  // Start with the pointer well away from the bar (a corner of the window may lie on it).
  await page.mouse.move(600, 500);
  await page.evaluate(() => document.activeElement?.blur());
  for (let i = 0; i < count; i++) {
    const bar = bars.nth(i);
    const top = await bar.locator(":scope > ul > li > a").allTextContents();
    if (top.join("|") !== "Home|Guides|Contact") throw new Error(`the bar's entries are ${top.join(", ")}`);
    if (await bar.locator("a[href='#first-steps']").count() !== 1) throw new Error("the third-level entry is missing");
    const home = bar.locator(":scope > ul > li").first();
    const list = home.locator(":scope > ul");
    if (await list.isVisible()) throw new Error("a drop-down list is open before anything happened");
    await home.locator(":scope > a").hover({ timeout: 5000 });
    await list.waitFor({ state: "visible", timeout: 5000 }).catch(() => fail("hovering Home did not open its list"));
    if ((await list.locator("a").allTextContents()).join("|") !== "Latest news|About us") throw new Error("the Home list holds the wrong entries");
    await page.mouse.move(600, 500);
    await list.waitFor({ state: "hidden", timeout: 5000 }).catch(() => fail("the Home list stayed open after the pointer left"));
    // Keyboard: focus opens, ArrowDown enters the list, Escape closes it again.
    const guides = bar.locator(":scope > ul > li").nth(1);
    await guides.locator(":scope > a").focus({ timeout: 5000 });
    await guides.locator(":scope > ul").waitFor({ state: "visible", timeout: 5000 }).catch(() => fail("keyboard focus on Guides did not open its list"));
    if (await guides.locator(":scope > a").getAttribute("aria-expanded") !== "true") throw new Error("aria-expanded is not true on an open list");
    await page.keyboard.press("ArrowDown");
    const focused = await page.evaluate(() => document.activeElement.textContent);
    if (focused !== "Getting started") throw new Error(`ArrowDown focused "${focused}"`);
    await page.keyboard.press("Escape");
    await guides.locator(":scope > ul").waitFor({ state: "hidden", timeout: 5000 }).catch(() => fail("Escape did not close the Guides list"));
    await page.evaluate(() => document.activeElement.blur());
  }
}
