// Every digital clock shows a time, and with seconds on (the default) the time moves on.
export async function check(page) {
  const before = await page.$$eval(".pelto-digiclock", (clocks) => clocks.map((clock) => clock.textContent));
  if (before.length < 1) throw new Error("no digital clock on the page");
  for (const text of before) {
    if (!/\d{1,2}[:.]\d{2}[:.]\d{2}/.test(text)) throw new Error(`a digital clock shows "${text}", not a time with seconds`);
  }
  await page.waitForFunction(
    (old) => [...document.querySelectorAll(".pelto-digiclock")].every((clock, i) => clock.textContent !== old[i]),
    before,
    { timeout: 3000 },
  );
}
