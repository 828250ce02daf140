// The body shows the shipped picture, and with the depth effect the picture shifts on scrolling.
export async function check(page) {
  const state = () => page.evaluate(() => ({ image: document.body.style.backgroundImage, position: document.body.style.backgroundPosition }));
  const before = await state();
  if (!before.image.includes("ptiledbg.gif")) throw new Error(`the body's picture is "${before.image}"`);
  const size = await page.evaluate(
    () =>
      new Promise((resolve) => {
        const picture = new Image();
        picture.onload = () => resolve(picture.naturalWidth);
        picture.onerror = () => resolve(0);
        picture.src = "ptiledbg.gif";
      }),
  );
  if (size !== 48) throw new Error(`the background picture did not load (width ${size})`);
  try {
    await page.evaluate(() => window.scrollTo(0, 1000));
    await page.waitForFunction(() => document.body.style.backgroundPosition === "0px -400px", null, { timeout: 3000 });
  } finally {
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
