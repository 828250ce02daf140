// The effect's controls (buttons, and links an effect lays out as targets of their own): each is
// at least 24 by 24 CSS pixels, or has room around it (a 24 px circle on its centre meets no other
// target); and no button moves while the effect's content moves.

// Runs in the page: the effect's visible targets with their boxes.
export function targetsScript() {
  const out = [];
  const inSentence = (a) => {
    if (getComputedStyle(a).display !== "inline") return false;
    const p = a.parentElement;
    return !!p && [...p.childNodes].some((n) => n !== a && n.nodeType === 3 && /[\p{L}\p{N}]/u.test(n.data));
  };
  for (const el of document.querySelectorAll("button, [role='button'], input:not([type='hidden']), select, summary, a[href]")) {
    const mine = (typeof el.className === "string" && /\bpelto-/.test(el.className)) || el.closest("[class*='pelto-']");
    if (!mine) continue;
    const cs = getComputedStyle(el);
    if (cs.visibility !== "visible" || cs.display === "none" || el.closest("[aria-hidden='true'], [hidden]")) continue;
    const r = el.getBoundingClientRect();
    if (r.width < 1 || r.height < 1) continue;
    // Off the edges of a clipped strip (a ticker's copy waiting its turn) is not a target now.
    if (r.right < 0 || r.left > innerWidth || r.bottom < 0 || r.top > innerHeight) continue;
    if (el.tagName === "A" && inSentence(el)) continue;
    const label = (el.getAttribute("aria-label") || el.textContent || el.className || el.tagName).replace(/\s+/g, " ").trim().slice(0, 40);
    out.push({ label, tag: el.tagName.toLowerCase(), button: el.tagName !== "A", box: [r.left + scrollX, r.top + scrollY, r.width, r.height] });
  }
  return out;
}

// The buttons smaller than 24x24, and the links smaller than that with no 24 px room around them.
export function smallTargets(targets) {
  const bad = [];
  const intersects = (cx, cy, rad, [x, y, w, h]) => {
    const nx = Math.max(x, Math.min(cx, x + w));
    const ny = Math.max(y, Math.min(cy, y + h));
    return (nx - cx) ** 2 + (ny - cy) ** 2 < rad * rad;
  };
  targets.forEach((t, i) => {
    const [x, y, w, h] = t.box;
    if (w >= 23.5 && h >= 23.5) return;
    const cx = x + w / 2;
    const cy = y + h / 2;
    const crowded = targets.some((o, j) => j !== i && intersects(cx, cy, 12, o.box));
    // A button is always a full target; a link of a list may make do with room around it.
    if (t.button || crowded) bad.push(`${t.tag} "${t.label}" is ${Math.round(w)}x${Math.round(h)} px${crowded ? ", next to another target" : ""}`);
  });
  return bad;
}

// Samples the buttons for `ms` while the page moves; returns those that moved (the page's scroll
// position stays where it is).
export async function movingButtons(page, ms = 2500) {
  const first = (await page.evaluate(targetsScript)).filter((t) => t.button);
  const moved = new Map();
  const t0 = Date.now();
  while (Date.now() - t0 < ms) {
    await page.waitForTimeout(150);
    const now = (await page.evaluate(targetsScript)).filter((t) => t.button);
    for (const a of first) {
      const b = now.find((x) => x.label === a.label && x.tag === a.tag);
      if (!b) continue;
      const d = Math.max(Math.abs(a.box[0] - b.box[0]), Math.abs(a.box[1] - b.box[1]));
      if (d > 1) moved.set(a.label, Math.max(moved.get(a.label) || 0, d));
    }
  }
  return [...moved].map(([label, d]) => `the button "${label}" moved ${Math.round(d)} px while the content moved`);
}
