// Link Description Bar: moving the mouse over a link (the shared mouse handler) or focusing it
// with the keyboard shows the link's text in every bar; leaving the link, or the pointer leaving
// the window, hides the bar again; in a window so short that the bar would lie over the focused
// link, the bar moves out of its way.
export async function check(page, context = {}) {
  const bars = page.locator("[data-pelto-linkstatus]");
  const count = await bars.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} bar(s), found ${count}`);
  const attrs = await bars.evaluateAll((all) => all.map((b) => b.dataset.text));
  if (new Set(attrs).size !== count) throw new Error(`two bars read the same link attribute (${attrs.join(", ")})`);
  const link = page.locator(".site-nav a").nth(1);
  const want = (await link.textContent()).trim();
  for (const attr of attrs) {
    if ((await link.getAttribute(attr)) !== want) throw new Error(`the link does not carry ${attr}="${want}"`);
  }
  const expectBars = async (visible, how) => {
    for (let i = 0; i < count; i++) {
      await bars.nth(i).waitFor({ state: visible ? "visible" : "hidden", timeout: 3000 }).catch(() => {
        throw new Error(`bar ${i + 1} did not ${visible ? "appear" : "hide"} ${how}`);
      });
      if (visible && (await bars.nth(i).textContent()).trim() !== want) throw new Error(`bar ${i + 1} says "${await bars.nth(i).textContent()}"`);
    }
  };
  await link.scrollIntoViewIfNeeded();
  const box = await link.boundingBox();
  await page.mouse.move(box.x + 3, box.y + box.height / 2);
  await expectBars(true, "on mouse movement over the link");
  const heading = await page.locator("main h2").first().boundingBox();
  await page.mouse.move(heading.x + 3, heading.y + heading.height / 2);
  await expectBars(false, "when the mouse left the link");
  await page.mouse.move(box.x + 3, box.y + box.height / 2);
  await expectBars(true, "on mouse movement over the link again");
  // Leaving the window from the link: the browser reports a mouseout to nowhere.
  await link.dispatchEvent("mouseout", { relatedTarget: null, bubbles: true });
  await expectBars(false, "when the pointer left the window");
  await page.mouse.move(heading.x + 3, heading.y + heading.height / 2);
  await link.focus();
  await expectBars(true, "on keyboard focus");
  await link.evaluate((el) => el.blur());
  await expectBars(false, "when the focus left the link");
  // A window just tall enough for the link: a bar at the bottom edge would cover it.
  const size = page.viewportSize();
  try {
    await page.evaluate(() => window.scrollTo(0, 0));
    const top = await link.boundingBox();
    await page.setViewportSize({ width: size.width, height: Math.ceil(top.y + top.height + 4) });
    await link.focus();
    await expectBars(true, "on keyboard focus in a short window");
    const over = await link.evaluate((el) => {
      const a = el.getBoundingClientRect();
      return [...document.querySelectorAll("[data-pelto-linkstatus]")].filter((bar) => {
        if (bar.hidden) return false;
        const b = bar.getBoundingClientRect();
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
      }).length;
    });
    if (over) throw new Error(`${over} bar(s) lie over the focused link`);
    await link.evaluate((el) => el.blur());
    await expectBars(false, "when the focus left the link");
  } finally {
    await page.setViewportSize(size);
  }
}
