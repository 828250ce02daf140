// Every countdown shows four parts (days, hours, minutes, seconds) and its seconds count down.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const boxes = await page.$$eval(".pelto-countdown", (all) =>
    all.map((box) => ({
      numbers: [...box.querySelectorAll(".pelto-countdown-part b")].map((cell) => cell.textContent),
      heading: box.querySelector(".pelto-countdown-heading")?.textContent ?? "",
    })),
  );
  const copies = context?.copies ?? 1;
  if (boxes.length !== copies) throw new Error(`${boxes.length} countdowns on the page, expected ${copies}`);
  for (const box of boxes) {
    if (box.numbers.length !== 4) throw new Error(`a countdown has ${box.numbers.length} parts, not 4`);
    if (!box.numbers.every((text) => /^\d+$/.test(text))) throw new Error(`a countdown shows ${box.numbers.join(" ")}`);
    if (Number(box.numbers[0]) < 1) throw new Error("the default target date should be days away");
    if (!box.heading.includes("Time left")) throw new Error(`a countdown heading reads "${box.heading}"`);
  }
  await until(page, "the seconds of a countdown did not change", (old) =>
      [...document.querySelectorAll(".pelto-countdown")].every(
        (box, i) => box.querySelectorAll(".pelto-countdown-part b")[3].textContent !== old[i],
      ),
    boxes.map((box) => box.numbers[3]));
}
