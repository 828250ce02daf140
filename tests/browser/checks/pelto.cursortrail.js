// Moving the mouse brings out the dots, and they gather under the pointer.
export async function check(page) {
  const count = await page.locator(".pelto-cursortrail-dot").count();
  if (count < 12) throw new Error(`${count} trail dots on the page, expected at least 12`);
  await page.mouse.move(60, 60);
  await page.mouse.move(420, 300, { steps: 12 });
  await page.waitForFunction(
    () =>
      [...document.querySelectorAll(".pelto-cursortrail-dot")].every((dot) => {
        const box = dot.getBoundingClientRect();
        const x = box.left + box.width / 2;
        const y = box.top + box.height / 2;
        return Number(getComputedStyle(dot).opacity) > 0 && Math.abs(x - 420) < 2 && Math.abs(y - 300) < 2;
      }),
    null,
    { timeout: 3000 },
  );
  const blocking = await page.$$eval(".pelto-cursortrail-dot", (dots) => dots.filter((dot) => getComputedStyle(dot).pointerEvents !== "none").length);
  if (blocking) throw new Error(`${blocking} trail dots catch clicks`);
}
