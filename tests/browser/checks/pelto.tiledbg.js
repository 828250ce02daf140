// The body shows the shipped picture, and with the depth effect the picture shifts on scrolling;
// with two copies only the copy that owns the background moves it.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const image = await page.evaluate(() => document.body.style.backgroundImage);
  if (!image.includes("ptiledbg.gif")) throw new Error(`the body's picture is "${image}"`);
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
    await until(page, "the picture did not shift when the page was scrolled", () => document.body.style.backgroundPosition === "0px -400px", null);
    // One scroll brings one picture move, by the copy that owns the background: count the
    // frames the scroll handlers ask for (only this effect runs on a page of its own).
    if (!context?.all) {
      const asked = await page.evaluate(
        () =>
          new Promise((resolve) => {
            const ask = window.requestAnimationFrame;
            let count = 0;
            window.requestAnimationFrame = (callback) => {
              count++;
              return ask.call(window, callback);
            };
            window.scrollTo(0, 1200);
            setTimeout(() => {
              window.requestAnimationFrame = ask;
              resolve(count);
            }, 300);
          }),
      );
      if (asked !== 1) throw new Error(`one scroll made ${asked} copies move the picture, expected only the copy that owns it`);
      await until(page, "the picture did not follow a second scroll", () => document.body.style.backgroundPosition === "0px -480px", null);
    }
  } finally {
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
