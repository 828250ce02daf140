// Image Slideshow: the pictures load with their captions, the next button and the arrow keys step
// through them, no blank frame shows while one picture gives way to the next, the pause button
// holds the show and the play button (from the keyboard) lets it move on by itself again.
export async function check(page, context = {}) {
  const boxes = page.locator("[data-pelto-slideshow]");
  const count = await boxes.count();
  if (count < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} slideshow(s), found ${count}`);
  const current = (box) => box.getAttribute("data-current");
  const visibleAtRest = (box) =>
    box.evaluate(
      (el) =>
        new Promise((resolve) =>
          setTimeout(() => resolve([...el.querySelectorAll(".pelto-ss-slide")].filter((s) => getComputedStyle(s).visibility === "visible").length), 900),
        ),
    );
  // Samples the frame on every animation frame for a while: three points across it must always
  // lie on a visible, opaque picture. The points follow the frame, should the page move. The
  // first blank frame is described (time, the slides' state), so a failure says what was seen.
  const blankFrames = (box) =>
    box.evaluate(
      (el) =>
        new Promise((resolve) => {
          let blank = 0;
          let samples = 0;
          let first = "";
          const t0 = performance.now();
          (function sample() {
            const frame = el.querySelector(".pelto-ss-frame").getBoundingClientRect();
            const y = frame.top + frame.height / 3;
            const points = [0.1, 0.5, 0.9].map((f) => frame.left + frame.width * f);
            const all = [...el.querySelectorAll(".pelto-ss-slide")];
            const slides = all.filter((s) => {
              const cs = getComputedStyle(s);
              return cs.visibility === "visible" && Number(cs.opacity) >= 0.99;
            });
            samples++;
            if (!points.every((x) => slides.some((s) => { const r = s.getBoundingClientRect(); return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }))) {
              blank++;
              if (!first) {
                const state = all.map((s, i) => {
                  const cs = getComputedStyle(s);
                  const r = s.getBoundingClientRect();
                  return `#${i} [${s.className.replace(/pelto-ss-/g, "")}] ${cs.visibility} opacity ${Number(cs.opacity).toFixed(2)} at ${Math.round(r.left)},${Math.round(r.top)} ${Math.round(r.width)}x${Math.round(r.height)}`;
                });
                first = `first at ${Math.round(performance.now() - t0)} ms, frame at ${Math.round(frame.left)},${Math.round(frame.top)} ${Math.round(frame.width)}x${Math.round(frame.height)}: ${state.join("; ")}`;
              }
            }
            if (performance.now() - t0 < 900) requestAnimationFrame(sample);
            else resolve({ blank, samples, first });
          })();
        }),
    );
  // A picture chosen again at the very end of its fading out, before the end of that transition
  // is told (in the microtask of its finished promise): the picture that gives way must stay
  // until the chosen one is whole. Goes on one and back, so the show ends where it started.
  const chosenAsItFadesOut = (box) =>
    box.evaluate(
      (el) =>
        new Promise((resolve) => {
          if (!el.classList.contains("pelto-ss-by-fade") || matchMedia("(prefers-reduced-motion: reduce)").matches) return resolve("");
          const slides = [...el.querySelectorAll(".pelto-ss-slide")];
          const from = Number(el.dataset.current);
          el.querySelector(".pelto-ss-next").click();
          const t0 = performance.now();
          (function wait() {
            const fading = slides[from].getAnimations().find((a) => a.transitionProperty === "opacity" && a.playState === "running");
            if (!fading || slides[from].classList.contains("pelto-ss-leaving")) {
              if (performance.now() - t0 > 4000) return resolve("the picture given up did not fade out within 4 s");
              return requestAnimationFrame(wait);
            }
            fading.finished.then(() => {
              el.querySelector(".pelto-ss-prev").click();
              let blank = 0;
              let samples = 0;
              const t1 = performance.now();
              (function sample() {
                samples++;
                if (!slides.some((s) => { const cs = getComputedStyle(s); return cs.visibility === "visible" && Number(cs.opacity) >= 0.99; })) blank++;
                if (performance.now() - t1 < 900) requestAnimationFrame(sample);
                else resolve(blank ? `${blank} of ${samples} frames show no whole picture after a picture was chosen again as it faded out` : "");
              })();
            });
          })();
        }),
    );
  for (let i = 0; i < count; i++) {
    const box = boxes.nth(i);
    await box.scrollIntoViewIfNeeded();
    const broken = await box.locator("img").evaluateAll((imgs) => imgs.filter((img) => !img.complete || img.naturalWidth === 0).map((img) => img.getAttribute("src")));
    if (broken.length) throw new Error(`pictures did not load: ${broken.join(", ")}`);
    for (const fig of await box.locator(".pelto-ss-slide").all()) {
      const alt = await fig.locator("img").getAttribute("alt");
      if ((await fig.locator("figcaption").textContent()) !== alt) throw new Error(`a caption reads "${await fig.locator("figcaption").textContent()}" beside the picture text "${alt}"`);
    }
    // The mouse on the show holds it, so only the button moves it on.
    await box.locator(".pelto-ss-next").hover();
    const start = Number(await current(box));
    // The change itself: never a blank frame between two pictures.
    await box.locator(".pelto-ss-next").click();
    if (Number(await current(box)) !== (start + 1) % 3) throw new Error("the next button did not move on");
    const { blank, samples, first } = await blankFrames(box);
    if (blank > 0) throw new Error(`show ${i + 1} of ${count}: ${blank} of ${samples} frames sampled during the change show no whole picture (${first})`);
    const shown = await visibleAtRest(box);
    if (shown !== 1) throw new Error(`${shown} pictures show once the change is over`);
    const raced = await chosenAsItFadesOut(box);
    if (raced) throw new Error(`show ${i + 1} of ${count}: ${raced}`);
    await box.focus();
    await page.keyboard.press("ArrowLeft");
    if (Number(await current(box)) !== start) throw new Error("the left arrow key did not go back");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
  }
  if (!context.all && count === 1) {
    const box = boxes.first();
    const play = box.locator(".pelto-ss-play");
    await play.click();
    if ((await play.getAttribute("aria-pressed")) !== "true") throw new Error("the pause button is not pressed after a click");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
    const held = await current(box);
    const time = Number(await box.getAttribute("data-time")) * 1000;
    await page.waitForTimeout(time + 800);
    if ((await current(box)) !== held) throw new Error("the show moved on while paused");
    await play.focus();
    await page.keyboard.press("Enter");
    if ((await play.getAttribute("aria-pressed")) !== "false") throw new Error("Enter on the play button did not start the show");
    await page.evaluate(() => document.activeElement && document.activeElement.blur());
    await page.mouse.move(0, 0);
    await page.waitForFunction((b) => document.querySelector("[data-pelto-slideshow]").dataset.current !== b, held, { timeout: time + 3000 }).catch(() => {
      throw new Error("the show did not change pictures by itself after play");
    });
  }
}
