// Every analog clock has a face of the chosen size, and its second hand turns.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const clocks = await page.$$eval(".pelto-analogclock", (holders) =>
    holders.map((holder) => ({
      width: holder.getBoundingClientRect().width,
      second: holder.querySelector(".pelto-analogclock-second")?.getAttribute("transform") ?? null,
      label: holder.getAttribute("aria-label"),
    })),
  );
  const copies = context?.copies ?? 1;
  if (clocks.length !== copies) throw new Error(`${clocks.length} analog clocks on the page, expected ${copies}`);
  for (const clock of clocks) {
    if (Math.abs(clock.width - 140) > 1) throw new Error(`an analog clock is ${clock.width}px wide, not 140px`);
    if (!/^rotate\(/.test(clock.second ?? "")) throw new Error("an analog clock has no turned second hand");
    if (!/\d/.test(clock.label)) throw new Error(`an analog clock is labelled "${clock.label}", without the time`);
  }
  await until(page, "a second hand did not move", (old) =>
      [...document.querySelectorAll(".pelto-analogclock-second")].every(
        (hand, i) => hand.getAttribute("transform") !== old[i],
      ),
    clocks.map((clock) => clock.second));
}
