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
  // Two links of the page text stand one above the other, the second under the notices; the
  // first has the focus, and Tab moves it to the second: the page scrolls so no notice covers it.
  await page.evaluate(() => {
    const words = document.createElement("p");
    words.id = "pelto-check-links";
    words.innerHTML = '<a href="#one">One</a><br><br><br><br><br><a href="#two">Two</a>';
    document.querySelector("main").appendChild(words);
    const [one, two] = words.querySelectorAll("a");
    const bars = [...document.querySelectorAll(".pelto-noticebar")].map((bar) => bar.getBoundingClientRect());
    const middle = (Math.min(...bars.map((bar) => bar.top)) + Math.max(...bars.map((bar) => bar.bottom))) / 2;
    const box = two.getBoundingClientRect();
    window.scrollBy(0, box.top + box.height / 2 - middle);
    one.focus({ preventScroll: true });
  });
  await page.keyboard.press("Tab");
  await page.waitForTimeout(200);
  const focused = await page.evaluate(() => document.activeElement.textContent);
  if (focused !== "Two") throw new Error(`Tab moved the focus to "${focused}", not to the next link`);
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
    document.getElementById("pelto-check-links").remove();
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
