// The glossary words of the sample text are marked, and each shows its explanation on hover and focus;
// the pointer can rest on the explanation, Escape hides it, and entries are read exactly as typed.

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
  // The pointer moves from the word onto its explanation and rests there.
  const near = await page.$$eval(".pelto-glossary-tip", (all) => {
    const box = all.find((tip) => !tip.hidden).getBoundingClientRect();
    return { x: box.left + Math.min(20, box.width / 2), y: box.top + box.height / 2 };
  });
  await page.mouse.move(near.x, near.y, { steps: 6 });
  await page.waitForTimeout(900);
  if (!(await page.$$eval(".pelto-glossary-tip", (all) => all.some((tip) => !tip.hidden)))) throw new Error("the explanation went away while the pointer rested on it");
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the explanation under the pointer", () => [...document.querySelectorAll(".pelto-glossary-tip")].every((tip) => tip.hidden), null);
  const bulbs = page.locator(".pelto-glossary-term").filter({ hasText: /bulbs/i }).first();
  await bulbs.focus({ timeout: 5000 });
  await until(page, "focusing a word did not show its explanation", () => [...document.querySelectorAll(".pelto-glossary-tip")].some((tip) => !tip.hidden && tip.textContent.startsWith("Onion-like")), null);
  await page.keyboard.press("Escape");
  await until(page, "Escape did not hide the explanation", () => [...document.querySelectorAll(".pelto-glossary-tip")].every((tip) => tip.hidden), null);
  await page.evaluate(() => {
    document.activeElement.blur();
    window.scrollTo(0, 0);
  });

  // An entry is read from the page as typed: "&region" stays, and markup stays text.
  const meaning = `Tom's "A&B" <i>x</i> \\ caf\u00e9 \u00ae 5 \u20ac, see ?a=1&region=eu`;
  const result = await page.evaluate((text) => {
    const words = document.createElement("p");
    words.textContent = "A zzqword in the text.";
    const data = document.createElement("ul");
    data.id = "pelto-check-data";
    data.hidden = true;
    const item = document.createElement("li");
    item.setAttribute("data-entry", "zzqword = " + text);
    data.appendChild(item);
    const tip = document.createElement("div");
    tip.id = "pelto-check-tip";
    tip.hidden = true;
    document.body.append(words, data, tip);
    window.Pelto.glossary.start(data.id, tip.id, "pelto-check-term");
    const term = words.querySelector(".pelto-check-term");
    const found = { meaning: term ? term.dataset.meaning : null };
    words.remove();
    data.remove();
    tip.remove();
    return found;
  }, meaning);
  if (result.meaning !== meaning) throw new Error(`an entry's explanation reads ${JSON.stringify(result.meaning)}, not as typed`);
}
