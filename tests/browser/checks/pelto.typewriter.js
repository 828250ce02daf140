// Typewriter Text: every box types the start of its first line, and the text grows.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-typewriter]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} typewriter box(es), found ${count}`);
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    const first = (await box.locator(".pelto-tw-line").first().textContent()).trim();
    const out = box.locator(".pelto-tw-out");
    await out.evaluate(
      (el, line) =>
        new Promise((resolve, reject) => {
          const seen = new Set();
          const t0 = performance.now();
          (function poll() {
            const text = el.textContent;
            if (text.length > 0 && line.startsWith(text)) seen.add(text);
            if (seen.size >= 3) return resolve();
            if (performance.now() - t0 > 5000) return reject(new Error(`typed text never grew (saw ${[...seen].join(" | ")})`));
            setTimeout(poll, 20);
          })();
        }),
      first,
    );
  }
}
