// Typewriter Text: every box types its lines: the shown text is the start of a line and grows.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-typewriter]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} typewriter box(es), found ${count}`);
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const lines = (await box.locator(".pelto-tw-line").allTextContents()).map((l) => l.replace(/\s+/g, " ").trim());
    const out = box.locator(".pelto-tw-out");
    // Typing shows as a text that grows into a longer start of one of the lines.
    await out.evaluate(
      (el, lines) =>
        new Promise((resolve, reject) => {
          const seen = [];
          const t0 = performance.now();
          (function poll() {
            const text = el.textContent;
            if (text.length > 0 && lines.some((l) => l.startsWith(text))) {
              if (seen.some((s) => text.length > s.length && text.startsWith(s))) return resolve();
              if (!seen.includes(text)) seen.push(text);
            }
            if (performance.now() - t0 > 8000) return reject(new Error(`typed text never grew (saw ${seen.join(" | ") || "nothing"})`));
            setTimeout(poll, 20);
          })();
        }),
      lines,
    );
  }
}
