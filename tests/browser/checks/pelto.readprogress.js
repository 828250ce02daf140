// The bars run along the top edge, each copy just inside the one before; a bar is empty at the top,
// partly filled half way down and full at the end of the page.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const values = () => page.$$eval(".pelto-readprogress", (bars) => bars.map((bar) => Number(bar.getAttribute("aria-valuenow"))));
  const copies = context?.copies ?? 1;
  const count = (await values()).length;
  if (count !== copies) throw new Error(`${count} reading progress bars on the page, expected ${copies}`);
  const tops = await page.$$eval(".pelto-readprogress", (bars) => bars.map((bar) => Math.round(bar.getBoundingClientRect().top)).sort((a, b) => a - b));
  if (!context?.all && tops.join() !== (copies === 1 ? "0" : "0,5")) throw new Error(`the bars stand at ${tops.join(", ")}px from the top of the window`);
  try {
    await page.evaluate(() => window.scrollTo(0, 0));
    await until(page, "a bar is not empty at the top of the page", () => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => bar.getAttribute("aria-valuenow") === "0"), null);
    await page.evaluate(() => window.scrollTo(0, (document.documentElement.scrollHeight - innerHeight) / 2));
    await until(page, "a bar does not show half way down the page", () => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => Math.abs(bar.getAttribute("aria-valuenow") - 50) <= 2), null);
    await until(page, "half way down a bar is not filled half way", () =>
      [...document.querySelectorAll(".pelto-readprogress > div")].every((fill) => Math.abs(fill.getBoundingClientRect().width / innerWidth - 0.5) <= 0.03),
    null);
    await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
    await until(page, "a bar is not full at the end of the page", () => [...document.querySelectorAll(".pelto-readprogress")].every((bar) => bar.getAttribute("aria-valuenow") === "100"), null);
  } finally {
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
