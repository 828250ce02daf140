// The glossary words of the sample text are marked, and each shows its explanation on hover and focus.
export async function check(page) {
  const copies = await page.locator(".pelto-glossary-tip").count();
  if (copies < 1) throw new Error("no glossary on the page");
  const words = await page.$$eval(".pelto-glossary-term", (terms) => terms.map((term) => term.textContent.toLowerCase()));
  for (const word of ["compost", "greenhouse", "bulbs", "pruning", "raised beds"]) {
    const found = words.filter((text) => text.replace(/\s+/g, " ") === word).length;
    if (found !== copies) throw new Error(`"${word}" is marked ${found} times, expected ${copies}`);
  }
  const term = page.locator(".pelto-glossary-term").filter({ hasText: /greenhouse/i }).first();
  await term.scrollIntoViewIfNeeded();
  await term.hover();
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-glossary-tip")].some((tip) => !tip.hidden && tip.textContent.startsWith("A house of glass")), null, { timeout: 3000 });
  const bulbs = page.locator(".pelto-glossary-term").filter({ hasText: /bulbs/i }).first();
  await bulbs.focus();
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-glossary-tip")].some((tip) => !tip.hidden && tip.textContent.startsWith("Onion-like")), null, { timeout: 3000 });
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => [...document.querySelectorAll(".pelto-glossary-tip")].every((tip) => tip.hidden), null, { timeout: 3000 });
  await page.evaluate(() => {
    document.activeElement.blur();
    window.scrollTo(0, 0);
  });
}
