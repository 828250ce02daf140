// Every digital clock shows a time, and with seconds on (the default) the time moves on.

// Waits for a condition in the page; a timeout becomes a failure that says what did not happen.
async function until(page, what, condition, argument, timeout = 5000) {
  try {
    await page.waitForFunction(condition, argument, { timeout });
  } catch {
    throw new Error(`${what} (waited ${timeout / 1000} s)`);
  }
}

export async function check(page, context) {
  const before = await page.$$eval(".pelto-digiclock", (clocks) => clocks.map((clock) => clock.textContent));
  const copies = context?.copies ?? 1;
  if (before.length !== copies) throw new Error(`${before.length} digital clocks on the page, expected ${copies}`);
  for (const text of before) {
    if (!/\d{1,2}[:.]\d{2}[:.]\d{2}/.test(text)) throw new Error(`a digital clock shows "${text}", not a time with seconds`);
  }
  await until(page, "a digital clock did not move on", (old) => [...document.querySelectorAll(".pelto-digiclock")].every((clock, i) => clock.textContent !== old[i]),
    before);
}
