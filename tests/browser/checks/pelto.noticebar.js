// Every notice shows its text and link, never covers the element that the keyboard focus reaches,
// and its button closes it.
const fail = (what) => {
  throw new Error(what);
};

export async function check(page, context) {
  const notices = page.locator(".pelto-noticebar");
  const count = await notices.count();
  const copies = context?.copies ?? 1;
  if (count !== copies) throw new Error(`${count} notices on the page, expected ${copies}`);
  for (let i = 0; i < count; i++) await notices.nth(i).waitFor({ state: "visible", timeout: 5000 }).catch(() => fail("a notice is not shown"));
  // A link of the page text that lies under the notices gets the focus from the keyboard
  // (Shift+Tab, then Tab back): the page scrolls so that no notice covers it.
  const link = page.locator("main a[href='#top']").nth(1);
  await link.evaluate((element) => {
    const bars = [...document.querySelectorAll(".pelto-noticebar")].map((bar) => bar.getBoundingClientRect());
    const top = Math.min(...bars.map((bar) => bar.top));
    const bottom = Math.max(...bars.map((bar) => bar.bottom));
    const box = element.getBoundingClientRect();
    window.scrollBy(0, box.top - (top + bottom) / 2 + box.height / 2);
    element.focus({ preventScroll: true });
  });
  await page.keyboard.press("Shift+Tab");
  await page.keyboard.press("Tab");
  await page.waitForTimeout(200);
  const covered = await page.evaluate(() => {
    const focused = document.activeElement.getBoundingClientRect();
    return [...document.querySelectorAll(".pelto-noticebar:not([hidden])")].some((bar) => {
      const box = bar.getBoundingClientRect();
      return focused.bottom > box.top && focused.top < box.bottom;
    });
  });
  if (covered) throw new Error("a notice covers the link that has the keyboard focus");
  await page.evaluate(() => {
    document.activeElement.blur();
    window.scrollTo(0, 0);
  });
  for (let i = 0; i < count; i++) {
    const notice = notices.nth(i);
    const text = await notice.locator("p").textContent();
    if (!text.includes("keeps no personal data")) throw new Error(`a notice reads "${text}"`);
    if (await notice.locator("a").getAttribute("href") !== "privacy.htm") throw new Error("the notice's link does not lead to privacy.htm");
    await notice.locator("button").click({ timeout: 5000 });
    await notice.waitFor({ state: "hidden", timeout: 5000 }).catch(() => fail("the button did not close its notice"));
    const stored = await page.evaluate((id) => localStorage.getItem("pelto-noticebar:" + location.pathname + "#" + id), await notice.getAttribute("id"));
    if (stored !== "closed") throw new Error("a closed notice is not remembered");
  }
}
