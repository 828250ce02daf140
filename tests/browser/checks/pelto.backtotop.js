// The button is hidden at the top, appears after scrolling down, is named by its text, is reached
// with Tab, and takes the page back up.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const shown = () => page.$$eval(".pelto-backtotop", (buttons) => buttons.map((button) => !button.hidden && getComputedStyle(button).visibility === "visible"));
  const start = await shown();
  const copies = context?.copies ?? 1;
  if (start.length !== copies) throw new Error(`${start.length} back-to-top buttons on the page, expected ${copies}`);
  await page.evaluate(() => window.scrollTo(0, 0));
  await until(page, "a button shows at the top of the page", () => [...document.querySelectorAll(".pelto-backtotop")].every((button) => button.hidden), null);
  await page.evaluate(() => window.scrollTo(0, 1500));
  await until(page, "a button did not appear after scrolling down", () => [...document.querySelectorAll(".pelto-backtotop")].every((button) => !button.hidden), null);
  const buttons = page.locator(".pelto-backtotop");
  // The button's name is its visible text, said once.
  const named = await page.getByRole("button", { name: "Top", exact: true }).count();
  if (named !== copies) throw new Error(`${named} buttons are named "Top", expected ${copies}`);
  // From the keyboard: Tab from the last link of the page text reaches the button.
  if (!context?.all) {
    await page.locator("main a[href]").last().focus({ timeout: 5000 });
    await page.keyboard.press("Tab");
    const reached = await page.evaluate(() => document.activeElement.classList.contains("pelto-backtotop"));
    if (!reached) throw new Error("Tab from the last link of the page does not reach the button");
  }
  await buttons.last().focus({ timeout: 5000 });
  await page.keyboard.press("Enter");
  await until(page, "Enter on the button did not take the page to the top", () => scrollY === 0, null, 6000);
  await until(page, "a button stayed after the page was back at the top", () => [...document.querySelectorAll(".pelto-backtotop")].every((button) => button.hidden), null);
}
