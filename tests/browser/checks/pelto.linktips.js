// Links carry the effect's attributes; hovering or focusing a link shows its tooltip, Escape hides it.
export async function check(page) {
  const names = await page.evaluate(() => [...new Set([...document.querySelectorAll("a")].flatMap((link) => link.getAttributeNames().filter((name) => /^data-plt\d+$/.test(name))))]);
  if (names.length < 2) throw new Error(`links carry ${names.join(", ") || "no"} tooltip attributes`);
  const tips = page.locator(".pelto-linktips");
  const copies = await tips.count();
  if (copies < 1) throw new Error("no tooltip box on the page");
  const visibleTips = () => page.$$eval(".pelto-linktips", (all) => all.filter((tip) => !tip.hidden).map((tip) => tip.textContent));
  // The links of the page itself carry the texts; links built later by other effects do not.
  const products = page.locator(`a[href='#products'][${names[0]}]`).first();
  await products.hover();
  await page.waitForFunction((n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden && getComputedStyle(tip).opacity === "1").length === n, copies, { timeout: 3000 });
  for (const text of await visibleTips()) if (text !== "Products") throw new Error(`the tooltip of Products reads "${text}"`);
  await page.mouse.move(5, 700);
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null, { timeout: 3000 });
  await page.locator(`a[href='#contact'][${names[0]}]`).first().focus();
  await page.waitForFunction((n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden).length === n, copies, { timeout: 3000 });
  for (const text of await visibleTips()) if (text !== "Contact") throw new Error(`the tooltip of Contact reads "${text}"`);
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null, { timeout: 3000 });
  await page.evaluate(() => document.activeElement.blur());
}
