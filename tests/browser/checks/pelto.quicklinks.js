// The bar holds the default entries; a list opens on hover and from the keyboard, and Escape closes it.
// On a touch screen a tap opens a list and a tap elsewhere closes it. No link claims to open a menu.
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
  const popups = await page.locator("nav.pelto-quicklinks [aria-haspopup]").count();
  if (popups) throw new Error(`${popups} quick links claim to open a menu (aria-haspopup), but their lists are lists of links`);

  // Captions and links arrive as script strings (quotes, "<" and accented letters escaped) and
  // reach the bar as typed: the link's "&region" stays, markup stays text.
  const built = await page.evaluate(() => {
    const nav = document.createElement("nav");
    nav.className = "pelto-quicklinks";
    const data = document.createElement("script");
    data.type = "text/plain";
    data.className = "pelto-quicklinks-data";
    data.textContent = 'Menu1 = new Array("Tom\\\'s \\"A&B\\" \\x3Ci\\x3Ex\\x3C/i\\x3E \\\\ caf\\u00E9 \\u00AE 5 \\u20AC","shop.htm?a=1&region=eu",0)\r\n';
    nav.appendChild(data);
    document.body.appendChild(nav);
    window.Pelto.quicklinks.start(nav);
    const link = nav.querySelector("a");
    const result = { text: link ? link.textContent : null, href: link ? link.getAttribute("href") : null, elements: nav.querySelectorAll("i").length };
    nav.remove();
    return result;
  });
  const typed = `Tom's "A&B" <i>x</i> \\ caf\u00e9 \u00ae 5 \u20ac`;
  if (built.text !== typed) throw new Error(`a caption reads ${JSON.stringify(built.text)}, not as typed`);
  if (built.href !== "shop.htm?a=1&region=eu") throw new Error(`a link leads to ${JSON.stringify(built.href)}, not as typed`);
  if (built.elements) throw new Error("markup in a caption became elements");

  if (context?.all) return;
  // The same page on a touch screen.
  const touch = await page.context().browser().newContext({ hasTouch: true, isMobile: false, viewport: { width: 1200, height: 800 } });
  try {
    const phone = await touch.newPage();
    await phone.goto(page.url(), { waitUntil: "load" });
    const home = phone.locator("nav.pelto-quicklinks").first().locator(":scope > ul > li").first();
    const list = home.locator(":scope > ul");
    await home.locator(":scope > a").tap({ timeout: 5000 });
    await list.waitFor({ state: "visible", timeout: 5000 }).catch(() => fail("a tap on Home did not open its list"));
    if (await phone.evaluate(() => location.hash) !== "") throw new Error("the first tap on Home followed the link instead of opening its list");
    await phone.locator("main p").first().tap({ timeout: 5000 });
    await list.waitFor({ state: "hidden", timeout: 5000 }).catch(() => fail("a tap elsewhere on the page did not close the list a tap had opened"));
  } finally {
    await touch.close();
  }
}
