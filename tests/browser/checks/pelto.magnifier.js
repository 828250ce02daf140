// Image Magnifier: mouse movement over a picture (through the shared mouse handler) shows a lens
// with that picture enlarged; movement elsewhere hides it.
export async function check(page, context = {}) {
  const lenses = page.locator("[data-pelto-magnifier]");
  const count = await lenses.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} lens(es), found ${count}`);
  const img = page.locator("main .photo img");
  await img.scrollIntoViewIfNeeded();
  const shown = await img.evaluate((el) => {
    const box = el.getBoundingClientRect();
    el.dispatchEvent(new MouseEvent("mousemove", { bubbles: true, clientX: box.left + box.width / 2, clientY: box.top + box.height / 2 }));
    const lens = Array.from(document.querySelectorAll("[data-pelto-magnifier]")).find((l) => !l.hidden);
    if (!lens) return null;
    const style = getComputedStyle(lens);
    return { image: style.backgroundImage, size: style.backgroundSize, zoom: Number(lens.dataset.zoom), width: box.width };
  });
  if (!shown) throw new Error("no lens appeared over the picture");
  if (!shown.image.includes("data:image")) throw new Error(`the lens does not show the picture (${shown.image.slice(0, 60)})`);
  if (Math.round(parseFloat(shown.size)) !== Math.round(shown.width * shown.zoom)) throw new Error(`the lens is not enlarged ${shown.zoom} times (${shown.size})`);
  const hidden = await page.locator("main h2").first().evaluate((el) => {
    el.dispatchEvent(new MouseEvent("mousemove", { bubbles: true, clientX: 5, clientY: 5 }));
    return Array.from(document.querySelectorAll("[data-pelto-magnifier]")).every((l) => l.hidden);
  });
  if (!hidden) throw new Error("the lens stays after the mouse left the picture");
}
