// Image Magnifier: moving the mouse over a picture (through the shared mouse handler) shows a lens
// with that picture enlarged; moving elsewhere, or the pointer leaving the window, hides it; a
// burst of movements is drawn once per frame, not measured once per movement.
export async function check(page, context = {}) {
  const lenses = page.locator("[data-pelto-magnifier]");
  const count = await lenses.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} lens(es), found ${count}`);
  const img = page.locator("main .photo img");
  await img.scrollIntoViewIfNeeded();
  const frames = () => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  const shownLens = () =>
    page.evaluate(() => {
      const lens = Array.from(document.querySelectorAll("[data-pelto-magnifier]")).find((l) => !l.hidden);
      if (!lens) return null;
      const style = getComputedStyle(lens);
      const box = lens.getBoundingClientRect();
      return { image: style.backgroundImage, size: style.backgroundSize, zoom: Number(lens.dataset.zoom), x: box.left + box.width / 2, y: box.top + box.height / 2 };
    });
  const box = await img.boundingBox();
  const cx = Math.round(box.x + box.width / 2);
  const cy = Math.round(box.y + box.height / 2);
  await page.mouse.move(cx - 20, cy);
  await page.mouse.move(cx, cy);
  await frames();
  const shown = await shownLens();
  if (!shown) throw new Error("no lens appeared over the picture");
  if (!shown.image.includes("data:image")) throw new Error(`the lens does not show the picture (${shown.image.slice(0, 60)})`);
  if (Math.round(parseFloat(shown.size)) !== Math.round(box.width * shown.zoom)) throw new Error(`the lens is not enlarged ${shown.zoom} times (${shown.size})`);
  if (Math.abs(shown.x - cx) > 2 || Math.abs(shown.y - cy) > 2) throw new Error(`the lens is not centred on the mouse (${shown.x},${shown.y} for ${cx},${cy})`);
  const heading = await page.locator("main h2").first().boundingBox();
  await page.mouse.move(heading.x + 5, heading.y + 5);
  await frames();
  if (await shownLens()) throw new Error("the lens stays after the mouse left the picture");
  await page.mouse.move(cx, cy);
  await frames();
  if (!(await shownLens())) throw new Error("no lens appeared over the picture again");
  // Leaving the window from the picture: the browser reports a mouseout to nowhere.
  await img.dispatchEvent("mouseout", { relatedTarget: null, bubbles: true });
  await frames();
  if (await shownLens()) throw new Error("the lens stays after the pointer left the window");
  // Fifty movements within one frame: the picture is measured at most once or twice.
  const measured = await img.evaluate(
    (el) =>
      new Promise((resolve) => {
        const measure = Element.prototype.getBoundingClientRect;
        let n = 0;
        Element.prototype.getBoundingClientRect = function () { if (this === el) n++; return measure.call(this); };
        const r = measure.call(el);
        for (let i = 0; i < 50; i++) el.dispatchEvent(new MouseEvent("mousemove", { bubbles: true, clientX: r.left + 10 + i, clientY: r.top + r.height / 2 }));
        requestAnimationFrame(() => requestAnimationFrame(() => {
          Element.prototype.getBoundingClientRect = measure;
          resolve(n);
        }));
      }),
  );
  if (measured > 2) throw new Error(`fifty mouse movements within one frame measured the picture ${measured} times`);
  await page.mouse.move(heading.x + 5, heading.y + 5);
  await frames();
}
