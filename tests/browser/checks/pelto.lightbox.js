// Picture Lightbox: the picture opens large from a click and from the keyboard, and Escape closes
// it with the focus back on the picture.
export async function check(page, context = {}) {
  const confs = await page.locator("[data-pelto-lightbox]").count();
  if (confs < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} lightbox setting(s), found ${confs}`);
  const pic = page.locator("img[data-pelto-lb]").first();
  if ((await pic.count()) === 0) throw new Error("no picture was made into a lightbox button");
  const viewer = page.locator(".pelto-lb");
  const src = await pic.evaluate((el) => el.currentSrc || el.src);
  await pic.scrollIntoViewIfNeeded();
  await pic.click();
  await viewer.waitFor({ state: "visible", timeout: 3000 });
  if ((await viewer.locator("img").evaluate((el) => el.src)) !== src) throw new Error("the lightbox shows another picture");
  const caption = (await viewer.locator(".pelto-lb-caption").textContent()).trim();
  if (caption !== (await pic.getAttribute("alt")).trim()) throw new Error(`the caption reads "${caption}"`);
  await page.keyboard.press("Escape");
  await viewer.waitFor({ state: "hidden", timeout: 3000 });
  if (!(await pic.evaluate((el) => el === document.activeElement))) throw new Error("the focus did not return to the picture");
  await page.keyboard.press("Enter");
  await viewer.waitFor({ state: "visible", timeout: 3000 });
  await page.keyboard.press("Escape");
  await viewer.waitFor({ state: "hidden", timeout: 3000 });
  await pic.evaluate((el) => el.blur());
}
