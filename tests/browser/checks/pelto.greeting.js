// Every banner greets by the time of day and shows today's date.
export async function check(page, context) {
  const banners = await page.$$eval(".pelto-greeting", (all) =>
    all.map((banner) => ({
      hello: banner.querySelector(".pelto-greeting-hello").textContent,
      date: banner.querySelector(".pelto-greeting-date").textContent,
      hour: new Date().getHours(),
      year: String(new Date().getFullYear()),
      top: banner.getBoundingClientRect().top + scrollY,
    })),
  );
  const copies = context?.copies ?? 1;
  if (banners.length !== copies) throw new Error(`${banners.length} greeting banners on the page, expected ${copies}`);
  for (const banner of banners) {
    const { hour } = banner;
    const expected =
      hour >= 5 && hour < 12 ? "Good morning!" : hour >= 12 && hour < 18 ? "Good afternoon!" : hour >= 18 && hour < 23 ? "Good evening!" : "Hello, night owl!";
    if (banner.hello !== expected) throw new Error(`the banner says "${banner.hello}" at ${hour} o'clock, not "${expected}"`);
    if (!banner.date.includes(banner.year)) throw new Error(`the banner's date "${banner.date}" lacks the year ${banner.year}`);
    if (banner.top > 400) throw new Error(`the banner stands ${banner.top}px down the page, not at its top`);
  }
}
