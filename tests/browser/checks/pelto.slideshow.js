// Image Slideshow: the pictures load, one shows at a time, the next button and the arrow keys
// step through them, and the show moves on by itself.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-slideshow]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} slideshow(s), found ${count}`);
  const current = (box) => box.getAttribute("data-current");
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const broken = await box.locator("img").evaluateAll((imgs) => imgs.filter((img) => !img.complete || img.naturalWidth === 0).map((img) => img.getAttribute("src")));
    if (broken.length) throw new Error(`pictures did not load: ${broken.join(", ")}`);
    const shown = await box.locator(".pelto-ss-slide").evaluateAll((all) => all.filter((s) => getComputedStyle(s).visibility === "visible").length);
    if (shown !== 1) throw new Error(`${shown} pictures show at once`);
    const start = Number(await current(box));
    await box.locator(".pelto-ss-next").click();
    if (Number(await current(box)) !== (start + 1) % 3) throw new Error("the next button did not move on");
    await box.focus();
    await page.keyboard.press("ArrowLeft");
    if (Number(await current(box)) !== start) throw new Error("the left arrow key did not go back");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
  }
  if (!context.all) {
    const box = boxes.first();
    const before = await current(box);
    await page.waitForFunction((b) => document.querySelector("[data-pelto-slideshow]").dataset.current !== b, before, { timeout: 7000 }).catch(() => {
      throw new Error("the show did not change pictures by itself");
    });
  }
}
