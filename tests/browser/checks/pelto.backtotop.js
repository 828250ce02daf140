// The button is hidden at the top, appears after scrolling down, and takes the page back up.
export async function check(page) {
  const shown = () => page.$$eval(".pelto-backtotop", (buttons) => buttons.map((button) => !button.hidden && getComputedStyle(button).visibility === "visible"));
  const start = await shown();
  if (start.length < 1) throw new Error("no back-to-top button on the page");
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-backtotop")].every((button) => button.hidden), null, { timeout: 3000 });
  await page.evaluate(() => window.scrollTo(0, 1500));
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-backtotop")].every((button) => !button.hidden), null, { timeout: 3000 });
  const buttons = page.locator(".pelto-backtotop");
  const label = await buttons.first().getAttribute("aria-label");
  if (label !== "Back to top Top") throw new Error(`the button is labelled "${label}"`);
  // From the keyboard: focus the button and press Enter.
  await buttons.last().focus();
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => scrollY === 0, null, { timeout: 4000 });
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-backtotop")].every((button) => button.hidden), null, { timeout: 3000 });
}
