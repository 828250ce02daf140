// The glossary words of the sample text are marked, and each shows its explanation on hover and focus.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const copies = await page.locator(".pelto-glossary-tip").count();
  const expected = context?.copies ?? 1;
  if (copies !== expected) throw new Error(`${copies} glossaries on the page, expected ${expected}`);
  const words = await page.$$eval(".pelto-glossary-term", (terms) => terms.map((term) => term.textContent.toLowerCase()));
  for (const word of ["compost", "greenhouse", "bulbs", "pruning", "raised beds"]) {
    const found = words.filter((text) => text.replace(/\s+/g, " ") === word).length;
    if (found !== copies) throw new Error(`"${word}" is marked ${found} times, expected ${copies}`);
  }
  const term = page.locator(".pelto-glossary-term").filter({ hasText: /greenhouse/i }).first();
  await term.scrollIntoViewIfNeeded();
  await term.hover({ timeout: 5000 });
  await until(page, "hovering a word did not show its explanation", () => [...document.querySelectorAll(".pelto-glossary-tip")].some((tip) => !tip.hidden && tip.textContent.startsWith("A house of glass")), null);
  const bulbs = page.locator(".pelto-glossary-term").filter({ hasText: /bulbs/i }).first();
  await bulbs.focus({ timeout: 5000 });
  await until(page, "focusing a word did not show its explanation", () => [...document.querySelectorAll(".pelto-glossary-tip")].some((tip) => !tip.hidden && tip.textContent.startsWith("Onion-like")), null);
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the explanation", () => [...document.querySelectorAll(".pelto-glossary-tip")].every((tip) => tip.hidden), null);
  await page.evaluate(() => {
    document.activeElement.blur();
    window.scrollTo(0, 0);
  });
}
