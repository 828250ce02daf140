// Every countdown shows four parts (days, hours, minutes, seconds) and its seconds count down.
export async function check(page) {
  const boxes = await page.$$eval(".pelto-countdown", (all) =>
    all.map((box) => ({
      numbers: [...box.querySelectorAll(".pelto-countdown-part b")].map((cell) => cell.textContent),
      heading: box.querySelector(".pelto-countdown-heading")?.textContent ?? "",
    })),
  );
  if (boxes.length < 1) throw new Error("no countdown on the page");
  for (const box of boxes) {
    if (box.numbers.length !== 4) throw new Error(`a countdown has ${box.numbers.length} parts, not 4`);
    if (!box.numbers.every((text) => /^\d+$/.test(text))) throw new Error(`a countdown shows ${box.numbers.join(" ")}`);
    if (Number(box.numbers[0]) < 1) throw new Error("the default target date should be days away");
    if (!box.heading.includes("Time left")) throw new Error(`a countdown heading reads "${box.heading}"`);
  }
  await page.waitForFunction(
    (old) =>
      [...document.querySelectorAll(".pelto-countdown")].every(
        (box, i) => box.querySelectorAll(".pelto-countdown-part b")[3].textContent !== old[i],
      ),
    boxes.map((box) => box.numbers[3]),
    { timeout: 3000 },
  );
}
