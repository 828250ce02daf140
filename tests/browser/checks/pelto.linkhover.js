// The links of the chosen part of the page (main, by default) get their underline swept in on hover
// and on keyboard focus; other links are left alone, and every link keeps the page's own
// underline and hover cues.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const look = (selector) =>
    page.$eval(selector, (link) => {
      const style = getComputedStyle(link);
      return { size: style.backgroundSize, image: style.backgroundImage, line: style.textDecorationLine, colour: style.color };
    });
  const inMain = "main p > a[href='#news']";
  const inNav = ".site-nav a[href='#products']";
  const resting = await look(inMain);
  if (resting.size !== "0% 2px" || !resting.image.startsWith("linear-gradient(")) throw new Error(`a resting link of the page text has the line ${resting.image} at ${resting.size}`);
  if (resting.line !== "underline") throw new Error(`a link of the page text lost its own underline (${resting.line})`);
  await page.locator(inMain).first().hover({ timeout: 5000 });
  await until(page, "hovering a link did not sweep in its underline", (selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", inMain);
  await page.mouse.move(5, 700);

  // The page's navigation lies outside the chosen part: no line, and its own hover underline.
  const nav = await look(inNav);
  if (nav.image !== "none") throw new Error(`a navigation link outside the chosen part got the line ${nav.image}`);
  await page.locator(inNav).first().hover({ timeout: 5000 });
  const navHover = await look(inNav);
  if (navHover.line !== "underline" || navHover.image !== "none") throw new Error(`hovering a navigation link shows ${navHover.line} and ${navHover.image}, not the page's own underline`);
  await page.mouse.move(5, 700);

  if (!context?.all) {
    const marked = await page.$$eval("a.pelto-linkhover", (links) => links.filter((link) => !link.closest("main")).length);
    if (marked) throw new Error(`${marked} links outside main carry the underline`);
  }
  // From the keyboard: Shift+Tab and Tab back onto the link of the page text.
  const contact = "main p > a[href='#news']";
  await page.locator(contact).first().focus({ timeout: 5000 });
  await page.keyboard.press("Shift+Tab");
  await page.keyboard.press("Tab");
  await until(page, "keyboard focus on a link did not sweep in its underline", (selector) => getComputedStyle(document.querySelector(selector)).backgroundSize === "100% 2px", contact);
  await page.evaluate(() => document.activeElement.blur());
}
