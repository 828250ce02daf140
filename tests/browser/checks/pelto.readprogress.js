// The bar is empty at the top, partly filled half way down and full at the end of the page.
export async function check(page) {
  const values = () => page.$$eval(".pelto-readprogress", (bars) => bars.map((bar) => Number(bar.getAttribute("aria-valuenow"))));
  const fills = () => page.$$eval(".pelto-readprogress > div", (bars) => bars.map((bar) => bar.getBoundingClientRect().width / innerWidth));
  if ((await values()).length < 1) throw new Error("no reading progress bar on the page");
  try {
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.waitForFunction(() => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => bar.getAttribute("aria-valuenow") === "0"), null, { timeout: 3000 });
    await page.evaluate(() => window.scrollTo(0, (document.documentElement.scrollHeight - innerHeight) / 2));
    await page.waitForFunction(() => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => Math.abs(bar.getAttribute("aria-valuenow") - 50) <= 2), null, { timeout: 3000 });
    await page.waitForTimeout(250);
    for (const share of await fills()) {
      if (Math.abs(share - 0.5) > 0.03) throw new Error(`half way down the bar is filled to ${Math.round(share * 100)}%`);
    }
    await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
    await page.waitForFunction(() => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => bar.getAttribute("aria-valuenow") === "100"), null, { timeout: 3000 });
  } finally {
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
