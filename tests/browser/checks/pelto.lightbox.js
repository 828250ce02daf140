// Picture Lightbox: the picture opens large, in a modal dialog above everything else of the page,
// from a click, from Enter and from Space; the focus stays in the dialog; Escape, the close button
// and a click close it with the focus back on the picture.
export async function check(page, context = {}) {
  const confs = await page.locator("[data-pelto-lightbox]").count();
  if (confs < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} lightbox setting(s), found ${confs}`);
  const pic = page.locator("img[data-pelto-lb]").first();
  if ((await pic.count()) === 0) throw new Error("no picture was made into a lightbox button");
  const viewer = page.locator("dialog.pelto-lb");
  const src = await pic.evaluate((el) => el.currentSrc || el.src);
  const focusBack = async (how) => {
    await viewer.waitFor({ state: "hidden", timeout: 3000 }).catch(() => {
      throw new Error(`the lightbox did not close ${how}`);
    });
    await page.waitForFunction((el) => el === document.activeElement, await pic.elementHandle(), { timeout: 1000 }).catch(() => {
      throw new Error(`the focus did not return to the picture ${how}`);
    });
  };
  await pic.scrollIntoViewIfNeeded();
  // A bar of the page's own with the highest z-index there is must still lie below the lightbox.
  const bar = await page.evaluateHandle(() => {
    const el = document.createElement("div");
    el.textContent = "Notice";
    el.style.cssText = "position: fixed; left: 0; right: 0; top: 0; height: 100px; z-index: 2147483647; background: #FFEB3B;";
    document.body.appendChild(el);
    return el;
  });
  try {
    await pic.click();
    await viewer.waitFor({ state: "visible", timeout: 3000 });
    if (!(await viewer.evaluate((el) => el.matches(":modal")))) throw new Error("the lightbox is not a modal dialog");
    if ((await viewer.locator("img").evaluate((el) => el.src)) !== src) throw new Error("the lightbox shows another picture");
    const caption = await viewer.locator(".pelto-lb-caption").textContent();
    if (caption !== (await pic.getAttribute("alt"))) throw new Error(`the caption reads "${caption}"`);
    const top = await page.evaluate(() => {
      const hit = document.elementFromPoint(window.innerWidth / 2, 50);
      return hit && hit.closest("dialog.pelto-lb") ? "" : hit ? hit.outerHTML.slice(0, 80) : "nothing";
    });
    if (top) throw new Error(`a bar of the page lies over the open lightbox: ${top}`);
    if (!(await viewer.locator(".pelto-lb-close").evaluate((el) => el === document.activeElement))) throw new Error("the close button does not have the focus");
    await page.keyboard.press("Tab");
    const behind = await page.evaluate(() => document.activeElement && document.activeElement !== document.body && !document.activeElement.closest("dialog.pelto-lb") ? document.activeElement.outerHTML.slice(0, 80) : "");
    if (behind) throw new Error(`Tab took the focus behind the open lightbox, to ${behind}`);
    await page.keyboard.press("Escape");
    await focusBack("with Escape");
    await page.keyboard.press("Enter");
    await viewer.waitFor({ state: "visible", timeout: 3000 });
    await viewer.locator(".pelto-lb-close").click();
    await focusBack("with the close button");
    await page.keyboard.press(" ");
    await viewer.waitFor({ state: "visible", timeout: 3000 }).catch(() => {
      throw new Error("Space did not open the lightbox");
    });
    await page.waitForTimeout(200);
    if (!(await viewer.isVisible())) throw new Error("the lightbox opened by Space closed by itself");
    await page.mouse.click(20, 300);
    await focusBack("with a click beside the picture");
  } finally {
    await bar.evaluate((el) => el.remove());
  }
  await pic.evaluate((el) => el.blur());
}
