// Each copy puts a gradient layer of its own behind the page (the page's body::before stays the
// page's), the layer drifts and lets clicks through, and one visible button pauses and restarts
// the drift by mouse and keyboard. A reader who asks for reduced motion starts with it paused.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

const transforms = (page) => page.$$eval(".pelto-gradientbg", (layers) => layers.map((layer) => getComputedStyle(layer).transform));

async function drifts(page) {
  await until(page, "the gradient did not drift", (old) => [...document.querySelectorAll(".pelto-gradientbg")].every((layer, i) => getComputedStyle(layer).transform !== old[i]), await transforms(page));
}

async function standsStill(page, what) {
  const before = await transforms(page);
  await page.waitForTimeout(700);
  const after = await transforms(page);
  if (before.join("|") !== after.join("|")) throw new Error(what);
}

export async function check(page, context) {
  const copies = context?.copies ?? 1;
  const layers = await page.$$eval(".pelto-gradientbg", (all) =>
    all.map((layer) => {
      const look = getComputedStyle(layer);
      return { image: look.backgroundImage, position: look.position, events: look.pointerEvents, animation: look.animationName, z: look.zIndex };
    }),
  );
  if (layers.length !== copies) throw new Error(`${layers.length} gradient layers on the page, expected ${copies}`);
  for (const layer of layers) {
    if (!layer.image.startsWith("linear-gradient(")) throw new Error(`a gradient layer shows "${layer.image}"`);
    if (layer.position !== "fixed" || layer.events !== "none") throw new Error(`a gradient layer is ${layer.position} and catches clicks: ${layer.events}`);
    if (layer.z !== "-1") throw new Error(`a gradient layer lies at z-index ${layer.z}, not behind the page`);
  }
  const before = await page.evaluate(() => getComputedStyle(document.body, "::before").content);
  if (before !== "none") throw new Error(`the effect wrote the page's body::before (content ${before})`);

  const pause = page.getByRole("button", { name: "Pause the background", exact: true });
  if ((await pause.count()) !== 1) throw new Error(`${await pause.count()} buttons named "Pause the background", expected one for all copies`);
  if (!(await pause.isVisible())) throw new Error("the pause button is not visible");
  await drifts(page);
  await pause.click({ timeout: 5000 });
  const play = page.getByRole("button", { name: "Play the background", exact: true });
  if ((await play.getAttribute("aria-pressed")) !== "true") throw new Error("the pressed pause button does not say so (aria-pressed)");
  await standsStill(page, "the gradient drifts on after the pause button was pressed");
  // From the keyboard: Space on the focused button starts the drift again.
  await play.focus({ timeout: 5000 });
  await page.keyboard.press("Space");
  if ((await pause.getAttribute("aria-pressed")) !== "false") throw new Error("Space on the button did not start the drift again");
  await drifts(page);
  await page.evaluate(() => document.activeElement.blur());

  if (context?.all) return;
  // A reader who asks for reduced motion gets a still background and the button to start it.
  try {
    await page.emulateMedia({ reducedMotion: "reduce" });
    await page.reload({ waitUntil: "load" });
    await standsStill(page, "the gradient drifts although reduced motion is asked for");
    await page.getByRole("button", { name: "Play the background", exact: true }).click({ timeout: 5000 });
    await drifts(page);
  } finally {
    await page.emulateMedia({ reducedMotion: null });
  }
}
