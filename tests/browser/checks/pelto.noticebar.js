// Every notice shows its text and link, and its button closes it.
const fail = (what) => {
  throw new Error(what);
};

export async function check(page, context) {
  const notices = page.locator(".pelto-noticebar");
  const count = await notices.count();
  const copies = context?.copies ?? 1;
  if (count !== copies) throw new Error(`${count} notices on the page, expected ${copies}`);
  for (let i = 0; i < count; i++) {
    const notice = notices.nth(i);
    await notice.waitFor({ state: "visible", timeout: 5000 }).catch(() => fail("a notice is not shown"));
    const text = await notice.locator("p").textContent();
    if (!text.includes("keeps no personal data")) throw new Error(`a notice reads "${text}"`);
    if (await notice.locator("a").getAttribute("href") !== "privacy.htm") throw new Error("the notice's link does not lead to privacy.htm");
    await notice.locator("button").click({ timeout: 5000 });
    await notice.waitFor({ state: "hidden", timeout: 5000 }).catch(() => fail("the button did not close its notice"));
    const stored = await page.evaluate((id) => localStorage.getItem("pelto-noticebar:" + location.pathname + "#" + id), await notice.getAttribute("id"));
    if (stored !== "closed") throw new Error("a closed notice is not remembered");
  }
}
