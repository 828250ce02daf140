// A link of the page text gets its underline swept in on hover and on keyboard focus.
export async function check(page) {
  const marked = await page.evaluate(() => document.body.getAttributeNames().some((name) => /^data-plh\d+$/.test(name)));
  if (!marked) throw new Error("the body has no data-pLh mark");
  const size = (selector) => page.$eval(selector, (link) => getComputedStyle(link).backgroundSize);
  // Links that other effects build (a quick links bar, say) keep their own look.
  const products = "a[href='#products']:not([class*='pelto-'] a)";
  if ((await size(products)) !== "0% 2px") throw new Error(`a resting link's underline is ${await size(products)}`);
  await page.locator(products).first().hover();
  await page.waitForFunction((selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", products, { timeout: 3000 });
  await page.mouse.move(5, 700);
  const contact = "a[href='#contact']:not([class*='pelto-'] a)";
  await page.locator(contact).first().focus();
  await page.keyboard.press("Shift+Tab");
  await page.keyboard.press("Tab");
  await page.waitForFunction((selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", contact, { timeout: 3000 });
  await page.evaluate(() => document.activeElement.blur());
}
