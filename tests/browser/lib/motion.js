// Finds motion on a page that asked for reduced motion: endless CSS animations, and anything a
// script moves: the page is sampled twice, some time apart, element by element (position,
// transform, opacity, colours, background position, text) and as a screenshot. A text that
// changes only in its digits (a clock, a countdown) is an update, not motion.

// Runs in the page: the state of every rendered element, keyed by a number that stays with the
// element between samples.
export function sampleScript() {
  const ids = (window.__peltoMotionIds = window.__peltoMotionIds || new WeakMap());
  window.__peltoMotionNext = window.__peltoMotionNext || 1;
  const out = {};
  const skip = new Set(["SCRIPT", "STYLE", "NOSCRIPT", "TEMPLATE", "HEAD", "META", "LINK", "TITLE"]);
  for (const el of document.querySelectorAll("body, body *")) {
    if (skip.has(el.tagName)) continue;
    const r = el.getBoundingClientRect();
    const cs = getComputedStyle(el);
    if (r.width === 0 && r.height === 0) continue;
    if (cs.visibility === "hidden" || cs.display === "none") continue;
    if (!ids.has(el)) ids.set(el, window.__peltoMotionNext++);
    let own = "";
    for (const n of el.childNodes) if (n.nodeType === 3) own += n.data;
    const cls = typeof el.className === "string" ? el.className.split(/\s+/)[0] : "";
    out[ids.get(el)] = {
      name: el.tagName.toLowerCase() + (el.id ? "#" + el.id : cls ? "." + cls : ""),
      box: [r.left + scrollX, r.top + scrollY, r.width, r.height].map((v) => Math.round(v)),
      view: [r.left, r.top, r.right, r.bottom],
      style: {
        transform: cs.transform,
        opacity: cs.opacity,
        "background-position": cs.backgroundPosition,
        "background-image": cs.backgroundImage.slice(0, 300),
        color: cs.color,
        "background-color": cs.backgroundColor,
        filter: cs.filter,
        "clip-path": cs.clipPath,
      },
      text: own.replace(/\s+/g, " ").trim(),
    };
  }
  return out;
}

// Runs in the page: the endless CSS animations that run.
export function endlessAnimationsScript() {
  return document
    .getAnimations()
    .filter((a) => a.playState === "running" && a.effect && a.effect.getTiming().iterations === Infinity)
    .map((a) => `${a.animationName || "animation"} on ${a.effect.target ? a.effect.target.tagName.toLowerCase() + (a.effect.target.className ? "." + String(a.effect.target.className).split(" ")[0] : "") : "?"}`);
}

const digitsOnly = (a, b) => a !== b && a.replace(/\d/g, "0") === b.replace(/\d/g, "0");

// Compares two samples; returns what moved, and the boxes (in the viewport) of texts that were
// updated in place.
export function compareSamples(a, b) {
  const moved = [];
  const updated = [];
  for (const [id, x] of Object.entries(a)) {
    const y = b[id];
    if (!y) continue;
    const [dx, dy] = [y.box[0] - x.box[0], y.box[1] - x.box[1]];
    if (Math.abs(dx) > 1 || Math.abs(dy) > 1) moved.push(`${x.name} moves by ${dx},${dy} px`);
    for (const [prop, v] of Object.entries(x.style)) if (y.style[prop] !== v) moved.push(`${x.name} changes its ${prop} (${v.slice(0, 40)} -> ${y.style[prop].slice(0, 40)})`);
    if (x.text !== y.text) {
      if (digitsOnly(x.text, y.text)) updated.push(y.view);
      else moved.push(`${x.name} changes its text ("${x.text.slice(0, 30)}" -> "${y.text.slice(0, 30)}")`);
    }
  }
  const appeared = Object.keys(b).filter((id) => !a[id]);
  if (appeared.length) moved.push(`${appeared.length} element(s) appear, such as ${b[appeared[0]].name}`);
  return { moved, updated };
}

// Runs in a blank page: the box of the pixels that differ between two PNG screenshots.
export async function pixelDiffScript([first, second]) {
  const load = async (b64) => createImageBitmap(await (await fetch(`data:image/png;base64,${b64}`)).blob());
  const [p, q] = await Promise.all([load(first), load(second)]);
  const w = Math.min(p.width, q.width);
  const h = Math.min(p.height, q.height);
  const read = (img) => {
    const c = new OffscreenCanvas(w, h);
    const g = c.getContext("2d");
    g.drawImage(img, 0, 0);
    return g.getImageData(0, 0, w, h).data;
  };
  const [d1, d2] = [read(p), read(q)];
  let count = 0;
  let [x0, y0, x1, y1] = [w, h, -1, -1];
  for (let y = 0; y < h; y++) {
    for (let x = 0; x < w; x++) {
      const i = (y * w + x) * 4;
      if (Math.abs(d1[i] - d2[i]) + Math.abs(d1[i + 1] - d2[i + 1]) + Math.abs(d1[i + 2] - d2[i + 2]) > 24) {
        count++;
        x0 = Math.min(x0, x);
        y0 = Math.min(y0, y);
        x1 = Math.max(x1, x);
        y1 = Math.max(y1, y);
      }
    }
  }
  return count ? { count, box: [x0, y0, x1 + 1, y1 + 1] } : null;
}

const inside = (box, view, margin = 4) => box[0] >= view[0] - margin && box[1] >= view[1] - margin && box[2] <= view[2] + margin && box[3] <= view[3] + margin;

// Samples a loaded page twice, `gap` ms apart; returns the motion found (empty when still).
// `diffPage` is a blank page of the same browser that compares the screenshots.
export async function findMotion(page, diffPage, gap) {
  const errors = [];
  const running = await page.evaluate(endlessAnimationsScript);
  for (const r of new Set(running)) errors.push(`endless animation ${r} runs although reduced motion is asked for`);
  const a = await page.evaluate(sampleScript);
  const shotA = await page.screenshot({ type: "png" });
  await page.waitForTimeout(gap);
  const b = await page.evaluate(sampleScript);
  let { moved, updated } = compareSamples(a, b);
  if (moved.length) {
    // One step is no motion: a clock's hands step once a minute under reduced motion, and a
    // minute may begin between two samples (more likely on a busy machine). What still moves
    // over the next gap moves by itself.
    await page.waitForTimeout(gap);
    const again = compareSamples(b, await page.evaluate(sampleScript)).moved;
    if (again.length === 0) return errors;
    moved = again;
  }
  for (const m of moved.slice(0, 4)) errors.push(`moves by itself although reduced motion is asked for: ${m}`);
  if (moved.length > 4) errors.push(`... and ${moved.length - 4} more changes`);
  if (moved.length === 0) {
    const shotB = await page.screenshot({ type: "png" });
    // A text may tick between the second sample and its screenshot: a third sample catches
    // that update, so its digits are not taken for motion.
    const c = await page.evaluate(sampleScript);
    updated.push(...compareSamples(a, c).updated);
    const diff = await diffPage.evaluate(pixelDiffScript, [shotA.toString("base64"), shotB.toString("base64")]);
    const union = updated.length ? updated.reduce((u, v) => [Math.min(u[0], v[0]), Math.min(u[1], v[1]), Math.max(u[2], v[2]), Math.max(u[3], v[3])]) : null;
    if (diff && !(union && inside(diff.box, union))) {
      const [x0, y0, x1, y1] = diff.box;
      errors.push(`pixels change by themselves although reduced motion is asked for: ${diff.count} pixels in ${x1 - x0} x ${y1 - y0} px at ${x0},${y0}`);
    }
  }
  return errors;
}
