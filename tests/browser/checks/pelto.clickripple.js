// A click sends out one ring per copy at the pointer, and the rings go away again.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
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
  // Rings live for less than a second, so record them as they are added rather than look later.
  await page.evaluate(() => {
    window.peltoCheckRings = [];
    new MutationObserver((records) => {
      for (const record of records) {
        for (const node of record.addedNodes) {
          if (node.classList?.contains("pelto-clickripple")) {
            window.peltoCheckRings.push({ left: node.style.left, top: node.style.top, events: getComputedStyle(node).pointerEvents });
          }
        }
      }
    }).observe(document.body, { childList: true });
  });
  await page.mouse.click(x, y);
  const copies = context?.copies ?? 1;
  await until(page, "a click sent out no ring", (n) => window.peltoCheckRings.length >= n, copies);
  await page.waitForTimeout(100);
  const rings = await page.evaluate(() => window.peltoCheckRings);
  if (rings.length !== copies) throw new Error(`a click sent out ${rings.length} rings, expected ${copies}`);
  for (const ring of rings) {
    if (ring.left !== `${x}px` || ring.top !== `${y}px`) throw new Error(`a ring appeared at ${ring.left},${ring.top}, not at ${x}px,${y}px`);
    if (ring.events !== "none") throw new Error("a ring catches clicks");
  }
  await until(page, "a ring did not go away", () => !document.querySelector(".pelto-clickripple"));
}
