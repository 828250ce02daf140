// Every countdown shows four parts (days, hours, minutes, seconds) and its seconds count down; a
// countdown whose moment has passed shows its message as plain text, markup and all.

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

  // The message is read from its attribute and written as text: a script in it never runs.
  const message = `Tom's "A&B" <i>x</i> <script>window.peltoCheckRan = 1<\/script> \\ caf\u00e9 \u00ae 5 \u20ac &region=eu`;
  const shown = await page.evaluate((text) => {
    const box = document.createElement("div");
    box.className = "pelto-countdown pelto-check-done";
    box.dataset.target = "2000-01-01 00:00";
    box.dataset.done = text;
    box.innerHTML = '<p class="pelto-countdown-heading">Soon</p><div class="pelto-countdown-parts"></div>';
    document.body.appendChild(box);
    window.Pelto.countdown.start(box);
    const done = box.querySelector(".pelto-countdown-done");
    const result = { text: done ? done.textContent : null, elements: done ? done.querySelectorAll("*").length : -1, heading: !!box.querySelector(".pelto-countdown-heading"), ran: !!window.peltoCheckRan };
    box.remove();
    return result;
  }, message);
  if (shown.text !== message) throw new Error(`a finished countdown shows ${JSON.stringify(shown.text)}, not the message as typed`);
  if (shown.elements !== 0 || shown.ran) throw new Error("markup in the message became elements of the page");
  if (shown.heading) throw new Error("a finished countdown still shows its heading");
  // A date that cannot be read shows the message at once and keeps the heading above it.
  const unreadable = await page.evaluate(() => {
    const box = document.createElement("div");
    box.className = "pelto-countdown";
    box.dataset.target = "next spring";
    box.dataset.done = "Soon!";
    box.innerHTML = '<p class="pelto-countdown-heading">Time left</p><div class="pelto-countdown-parts"></div>';
    document.body.appendChild(box);
    window.Pelto.countdown.start(box);
    const result = box.textContent;
    box.remove();
    return result;
  });
  if (unreadable !== "Time leftSoon!") throw new Error(`a countdown with an unreadable date shows "${unreadable}", not its heading and message`);
}
