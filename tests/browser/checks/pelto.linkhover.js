// A link of the page text gets its underline swept in on hover and on keyboard focus.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const marks = await page.evaluate(() => document.body.getAttributeNames().filter((name) => /^data-plh\d+$/.test(name)).length);
  const copies = context?.copies ?? 1;
  if (marks !== copies) throw new Error(`the body has ${marks} data-pLh marks, expected ${copies}`);
  const size = (selector) => page.$eval(selector, (link) => getComputedStyle(link).backgroundSize);
  // Links that other effects build (a quick links bar, say) keep their own look.
  const products = "a[href='#products']:not([class*='pelto-'] a)";
  if ((await size(products)) !== "0% 2px") throw new Error(`a resting link's underline is ${await size(products)}`);
  await page.locator(products).first().hover({ timeout: 5000 });
  await until(page, "hovering a link did not sweep in its underline", (selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", products);
  await page.mouse.move(5, 700);
  const contact = "a[href='#contact']:not([class*='pelto-'] a)";
  await page.locator(contact).first().focus({ timeout: 5000 });
  await page.keyboard.press("Shift+Tab");
  await page.keyboard.press("Tab");
  await until(page, "keyboard focus on a link did not sweep in its underline", (selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", contact);
  await page.evaluate(() => document.activeElement.blur());
}
