// Every analog clock has a face of the chosen size, and its second hand turns.
export async function check(page) {
  const clocks = await page.$$eval(".pelto-analogclock", (holders) =>
    holders.map((holder) => ({
      width: holder.getBoundingClientRect().width,
      second: holder.querySelector(".pelto-analogclock-second")?.getAttribute("transform") ?? null,
      label: holder.getAttribute("aria-label"),
    })),
  );
  if (clocks.length < 1) throw new Error("no analog clock on the page");
  for (const clock of clocks) {
    if (Math.abs(clock.width - 140) > 1) throw new Error(`an analog clock is ${clock.width}px wide, not 140px`);
    if (!/^rotate\(/.test(clock.second ?? "")) throw new Error("an analog clock has no turned second hand");
    if (!/\d/.test(clock.label)) throw new Error(`an analog clock is labelled "${clock.label}", without the time`);
  }
  await page.waitForFunction(
    (old) =>
      [...document.querySelectorAll(".pelto-analogclock-second")].every(
        (hand, i) => hand.getAttribute("transform") !== old[i],
      ),
    clocks.map((clock) => clock.second),
    { timeout: 3000 },
  );
}
