// Link Description Bar: moving the mouse over a link (the shared mouse handler) or focusing it
// with the keyboard shows the link's text in every bar; leaving it hides the bar again.
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
  await link.evaluate((el) => {
    const box = el.getBoundingClientRect();
    el.dispatchEvent(new MouseEvent("mousemove", { bubbles: true, clientX: box.left + 2, clientY: box.top + 2 }));
  });
  await expectBars(true, "on mouse movement over the link");
  await page.locator("main h2").first().evaluate((el) => el.dispatchEvent(new MouseEvent("mousemove", { bubbles: true })));
  await expectBars(false, "when the mouse left the link");
  await link.focus();
  await expectBars(true, "on keyboard focus");
  await link.evaluate((el) => el.blur());
  await expectBars(false, "when the focus left the link");
}
