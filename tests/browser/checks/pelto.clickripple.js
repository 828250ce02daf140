// A click sends out a ring at the pointer, and the ring goes away again.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 3000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const box = await page.locator("main p").first().boundingBox();
  if (!box) throw new Error("the page has no paragraph to click on");
  const x = Math.round(box.x + 20);
  const y = Math.round(box.y + box.height / 2);
  const before = await page.locator(".pelto-clickripple").count();
  await page.mouse.click(x, y);
  const rings = await page.$$eval(".pelto-clickripple", (all) =>
    all.map((ring) => ({ left: ring.style.left, top: ring.style.top, events: getComputedStyle(ring).pointerEvents })),
  );
  const copies = context?.copies ?? 1;
  if (rings.length - before !== copies) throw new Error(`a click sent out ${rings.length - before} rings, expected ${copies}`);
  for (const ring of rings) {
    if (ring.left !== `${x}px` || ring.top !== `${y}px`) throw new Error(`a ring appeared at ${ring.left},${ring.top}, not at ${x}px,${y}px`);
    if (ring.events !== "none") throw new Error("a ring catches clicks");
  }
  await until(page, "a ring did not go away", () => !document.querySelector(".pelto-clickripple"), null);
}
