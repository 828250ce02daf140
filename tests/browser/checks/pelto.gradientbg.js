// The body carries the effect's mark, runs its drift animation and the gradient position moves.
export async function check(page) {
  const state = () =>
    page.evaluate(() => {
      const body = document.body;
      const marks = body.getAttributeNames().filter((name) => /^data-pgb\d+$/.test(name));
      const style = getComputedStyle(body);
      return { marks, animation: style.animationName, position: style.backgroundPosition };
    });
  const before = await state();
  if (before.marks.length < 1) throw new Error("the body has no data-pGb mark");
  if (!/^pGb\d+/.test(before.animation)) throw new Error(`the body runs animation "${before.animation}", not the drift`);
  const rules = await page.evaluate(() =>
    [...document.styleSheets].flatMap((sheet) => [...sheet.cssRules]).some((rule) => /linear-gradient/.test(rule.cssText) && /data-pgb\d+/i.test(rule.cssText)),
  );
  if (!rules) throw new Error("no gradient rule for the marked body");
  await page.waitForFunction((old) => getComputedStyle(document.body).backgroundPosition !== old, before.position, { timeout: 3000 });
}
