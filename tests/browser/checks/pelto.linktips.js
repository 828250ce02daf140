// Links carry the effect's attributes; hovering or focusing a link shows its tooltip, Escape hides it.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const names = await page.evaluate(() => [...new Set([...document.querySelectorAll("a")].flatMap((link) => link.getAttributeNames().filter((name) => /^data-plt\d+$/.test(name))))]);
  const expected = context?.copies ?? 1;
  // Each copy writes a title and a text attribute of its own into the links.
  if (names.length !== 2 * expected) throw new Error(`links carry ${names.join(", ") || "no"} tooltip attributes, expected ${2 * expected}`);
  const tips = page.locator(".pelto-linktips");
  const copies = await tips.count();
  if (copies !== expected) throw new Error(`${copies} tooltip boxes on the page, expected ${expected}`);
  const visibleTips = () => page.$$eval(".pelto-linktips", (all) => all.filter((tip) => !tip.hidden).map((tip) => tip.textContent));
  // The links of the page itself carry the texts; links built later by other effects do not.
  const products = page.locator(`a[href='#products'][${names[0]}]`).first();
  await products.hover({ timeout: 5000 });
  await until(page, "hovering a link did not show its tooltip", (n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden && getComputedStyle(tip).opacity === "1").length === n, copies);
  for (const text of await visibleTips()) if (text !== "Products") throw new Error(`the tooltip of Products reads "${text}"`);
  await page.mouse.move(5, 700);
  await until(page, "moving off the link did not hide the tooltip", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
  await page.locator(`a[href='#contact'][${names[0]}]`).first().focus({ timeout: 5000 });
  await until(page, "focusing a link did not show its tooltip", (n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden).length === n, copies);
  for (const text of await visibleTips()) if (text !== "Contact") throw new Error(`the tooltip of Contact reads "${text}"`);
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the tooltip", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
  await page.evaluate(() => document.activeElement.blur());
}
