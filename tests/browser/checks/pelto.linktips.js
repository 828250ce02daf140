// Links carry the effect's attributes; hovering or focusing a link shows its tooltip, the pointer can
// move onto the tooltip and rest there, Escape hides it, and scrolling carries it along with its
// link without measuring it again.

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
  // The pointer moves from the link onto the nearest tooltip and rests there.
  const near = await page.$$eval(".pelto-linktips", (all) => {
    const box = all.filter((tip) => !tip.hidden).map((tip) => tip.getBoundingClientRect()).sort((a, b) => a.top - b.top)[0];
    return { x: box.left + Math.min(20, box.width / 2), y: box.top + box.height / 2 };
  });
  await page.mouse.move(near.x, near.y, { steps: 8 });
  await page.waitForTimeout(900);
  const resting = (await visibleTips()).length;
  if (resting !== copies) throw new Error(`${copies - resting} tooltips went away while the pointer rested on a tooltip`);
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the tooltip under the pointer", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
  await products.hover({ timeout: 5000 });
  await until(page, "hovering the link again did not show its tooltip", (n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden).length === n, copies);
  if (!context?.all) {
    // Scrolling carries the tooltip of a focused link along with the link, and nothing is
    // measured while the page scrolls.
    await page.mouse.move(5, 700);
    await until(page, "moving off the link did not hide the tooltip", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
    await products.focus({ timeout: 5000 });
    await until(page, "focusing a link did not show its tooltip", (n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden).length === n, copies);
    const gap = () =>
      products.evaluate((link) => {
        const tips = [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden);
        return tips.map((tip) => Math.round(tip.getBoundingClientRect().top - link.getBoundingClientRect().bottom)).join();
      });
    const before = await gap();
    if (before.split(",").length !== copies) throw new Error(`focusing a link shows ${before ? before.split(",").length : 0} tooltips, expected ${copies}`);
    const measured = await page.evaluate(
      () =>
        new Promise((resolve) => {
          const measure = Element.prototype.getBoundingClientRect;
          let count = 0;
          Element.prototype.getBoundingClientRect = function () {
            count++;
            return measure.call(this);
          };
          let step = 0;
          const scroll = () => {
            window.scrollBy(0, 20);
            if (++step < 5) setTimeout(scroll, 40);
            else
              setTimeout(() => {
                Element.prototype.getBoundingClientRect = measure;
                resolve(count);
              }, 100);
          };
          scroll();
        }),
    );
    if (measured) throw new Error(`scrolling the page measured ${measured} elements while a tooltip was shown`);
    if ((await gap()) !== before) throw new Error("the tooltip did not stay with its link while the page scrolled");
    await page.evaluate(() => {
      document.activeElement.blur();
      window.scrollTo(0, 0);
    });
  }
  await page.mouse.move(5, 700);
  await until(page, "moving off the link did not hide the tooltip", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
  await page.locator(`a[href='#contact'][${names[0]}]`).first().focus({ timeout: 5000 });
  await until(page, "focusing a link did not show its tooltip", (n) => [...document.querySelectorAll(".pelto-linktips")].filter((tip) => !tip.hidden).length === n, copies);
  for (const text of await visibleTips()) if (text !== "Contact") throw new Error(`the tooltip of Contact reads "${text}"`);
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the tooltip", () => [...document.querySelectorAll(".pelto-linktips")].every((tip) => tip.hidden), null);
  await page.evaluate(() => document.activeElement.blur());
}
