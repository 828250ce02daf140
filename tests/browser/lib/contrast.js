// Measures how well text reads on a page as a reader sees it: every element with text of its own
// is looked up in a screenshot taken with all text made transparent, so the background under the
// text is whatever the page and the effects paint there (boxes, gradients, pictures, fixed layers).
// The text's colour (a gradient text's every colour stop) is compared with the lighter and the
// darker end of the background under it; the worse ratio counts.

// Runs in the page: the texts in the viewport, each with its colours, box and whether an effect
// drew it (an element of its own with a "pelto-" class).
export function textItemsScript() {
  const skip = new Set(["SCRIPT", "STYLE", "NOSCRIPT", "TEMPLATE", "OPTION", "TITLE"]);
  const seen = new Map();
  const items = [];
  const parse = (c) => {
    const m = /rgba?\(([\d.]+),\s*([\d.]+),\s*([\d.]+)(?:,\s*([\d.]+))?\)/.exec(c);
    return m ? [Number(m[1]), Number(m[2]), Number(m[3]), m[4] === undefined ? 1 : Number(m[4])] : null;
  };
  for (const el of document.body.querySelectorAll("*")) {
    if (skip.has(el.tagName)) continue;
    const nodes = [...el.childNodes].filter((n) => n.nodeType === 3 && /[\p{L}\p{N}]/u.test(n.data));
    if (nodes.length === 0) continue;
    const cs = getComputedStyle(el);
    if (cs.visibility !== "visible") continue;
    let opacity = 1;
    for (let e = el; e; e = e.parentElement) opacity *= Number(getComputedStyle(e).opacity);
    if (opacity < 0.2) continue;
    // A hidden copy laid over the same text (a colour that fades in over another) mixes with
    // that text, not with the background: its colours count at full strength.
    if (el.closest("[aria-hidden='true']")) opacity = 1;
    // The boxes of the element's own text (one a line), cut to the viewport and to what clipping
    // ancestors (a strip that scrolls its text) let through; a line that lies under something
    // else (a bar, a panel) is not what the reader sees there and is left out.
    const clip = el.closest("[class*='pelto-']") ? el.getBoundingClientRect() : null;
    if (clip && (clip.width < 4 || clip.height < 4)) continue;
    let view = { l: 0, t: 0, r: innerWidth, b: innerHeight };
    for (let a = el.parentElement; a && a !== document.body; a = a.parentElement) {
      const acs = getComputedStyle(a);
      if (acs.overflowX === "visible" && acs.overflowY === "visible") continue;
      const r = a.getBoundingClientRect();
      view = { l: Math.max(view.l, r.left), t: Math.max(view.t, r.top), r: Math.min(view.r, r.right), b: Math.min(view.b, r.bottom) };
    }
    const rects = [];
    for (const n of nodes) {
      const range = document.createRange();
      range.selectNodeContents(n);
      for (const r of range.getClientRects()) {
        const box = { l: Math.max(view.l, r.left), t: Math.max(view.t, r.top), r: Math.min(view.r, r.right), b: Math.min(view.b, r.bottom) };
        if (box.r - box.l < 4 || box.b - box.t < 4) continue;
        const cx = (box.l + box.r) / 2;
        const covered = [box.t + 2, (box.t + box.b) / 2, box.b - 2].some((y) => {
          const hit = document.elementFromPoint(cx, y);
          return hit && hit !== el && !el.contains(hit) && !hit.contains(el);
        });
        if (!covered) rects.push(box);
      }
    }
    if (rects.length === 0) continue;
    const clipped = cs.backgroundClip === "text" || cs.webkitBackgroundClip === "text";
    let colours = [];
    if (clipped && cs.backgroundImage !== "none") {
      colours = (cs.backgroundImage.match(/rgba?\([^)]*\)/g) || []).map(parse).filter(Boolean);
    }
    const own = parse(cs.webkitTextFillColor && cs.webkitTextFillColor !== cs.color ? cs.webkitTextFillColor : cs.color);
    if (own && own[3] > 0) colours.push(own);
    if (colours.length === 0) continue;
    const text = nodes.map((n) => n.data).join(" ").replace(/\s+/g, " ").trim();
    const key = el.tagName + ":" + text.slice(0, 60);
    seen.set(key, (seen.get(key) || 0) + 1);
    const effect = !!el.closest("[class*='pelto-']");
    items.push({ key: key + "#" + seen.get(key), text: text.slice(0, 40), effect, colours: colours.map((c) => [c[0], c[1], c[2], c[3] * opacity]), rects });
  }
  return items;
}

// Runs in the page: hides every text (and the gradient fill of gradient texts) for the screenshot.
export function hideTextScript(on) {
  let style = document.getElementById("pelto-contrast-hide");
  if (!on) {
    if (style) style.remove();
    document.querySelectorAll("[data-pelto-contrast-clip]").forEach((e) => e.removeAttribute("data-pelto-contrast-clip"));
    return;
  }
  // Text filled with its background (a gradient text) loses that fill too, shown or not.
  for (const el of document.body.querySelectorAll("*")) {
    const cs = getComputedStyle(el);
    if ((cs.backgroundClip === "text" || cs.webkitBackgroundClip === "text") && cs.backgroundImage !== "none") el.setAttribute("data-pelto-contrast-clip", "");
  }
  if (!style) {
    style = document.createElement("style");
    style.id = "pelto-contrast-hide";
    style.textContent =
      "*, *::before, *::after { color: transparent !important; -webkit-text-fill-color: transparent !important; text-shadow: none !important; text-decoration-color: transparent !important; caret-color: transparent !important; }" +
      "[data-pelto-contrast-clip] { background-image: none !important; }";
    document.head.appendChild(style);
  }
}

// Runs in the page: the lightest and darkest background under each item, from the screenshot.
export async function backgroundsScript({ png, items }) {
  const img = new Image();
  img.src = "data:image/png;base64," + png;
  await img.decode();
  const canvas = document.createElement("canvas");
  canvas.width = img.naturalWidth;
  canvas.height = img.naturalHeight;
  const g = canvas.getContext("2d", { willReadFrequently: true });
  g.drawImage(img, 0, 0);
  const scale = img.naturalWidth / innerWidth;
  const lum = (r, g2, b) => {
    const f = (v) => ((v /= 255) <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4));
    return 0.2126 * f(r) + 0.7152 * f(g2) + 0.0722 * f(b);
  };
  return items.map((it) => {
    const samples = [];
    for (const box of it.rects) {
      const x0 = Math.floor((box.l + 1) * scale);
      const y0 = Math.floor((box.t + 1) * scale);
      const w = Math.max(1, Math.floor((box.r - box.l - 2) * scale));
      const h = Math.max(1, Math.floor((box.b - box.t - 2) * scale));
      const data = g.getImageData(x0, y0, w, h).data;
      const step = Math.max(1, Math.floor(Math.sqrt((w * h) / 300)));
      for (let y = 0; y < h; y += step) for (let x = 0; x < w; x += step) {
        const i = (y * w + x) * 4;
        samples.push([data[i], data[i + 1], data[i + 2], lum(data[i], data[i + 1], data[i + 2])]);
      }
    }
    samples.sort((a, b) => a[3] - b[3]);
    const pick = (q) => samples[Math.min(samples.length - 1, Math.floor(q * samples.length))];
    return { dark: pick(0.1), light: pick(0.9) };
  });
}

function luminance([r, g, b]) {
  const f = (v) => ((v /= 255) <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4));
  return 0.2126 * f(r) + 0.7152 * f(g) + 0.0722 * f(b);
}

export function ratio(a, b) {
  const x = luminance(a);
  const y = luminance(b);
  return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
}

// The worst ratio of an item: each of its colours (laid over the background where see-through)
// against both ends of its background.
export function worstRatio(item, bg) {
  let worst = Infinity;
  for (const c of item.colours) {
    for (const back of [bg.dark, bg.light]) {
      const a = c[3];
      const seen = [0, 1, 2].map((i) => c[i] * a + back[i] * (1 - a));
      worst = Math.min(worst, ratio(seen, back));
    }
  }
  return worst;
}

// Reads every text of the page at the scroll positions given (the page's top, and where the
// effect's texts are); returns { key: { ratio, effect, text } }, the first reading of each text.
export async function readContrast(page, { positions = [0] } = {}) {
  const found = {};
  for (const y of positions) {
    await page.evaluate((top) => window.scrollTo(0, top), y);
    await page.waitForTimeout(150);
    const items = (await page.evaluate(textItemsScript)).filter((it) => !(it.key in found));
    if (items.length === 0) continue;
    await page.evaluate(hideTextScript, true);
    let png;
    try {
      png = (await page.screenshot({ animations: "allow", caret: "hide" })).toString("base64");
    } finally {
      await page.evaluate(hideTextScript, false);
    }
    const backs = await page.evaluate(backgroundsScript, { png, items });
    items.forEach((it, i) => {
      found[it.key] = { ratio: worstRatio(it, backs[i]), effect: it.effect, text: it.text };
    });
  }
  await page.evaluate(() => window.scrollTo(0, 0));
  return found;
}

// Where the effect's texts lie: scroll positions that bring each of them into view (at most four).
export async function effectPositions(page) {
  const tops = await page.evaluate(() => {
    const out = [];
    for (const el of document.querySelectorAll("[class*='pelto-']")) {
      if (!/[\p{L}\p{N}]/u.test(el.textContent || "")) continue;
      const r = el.getBoundingClientRect();
      if (r.width < 4 || r.height < 4 || getComputedStyle(el).position === "fixed") continue;
      out.push(Math.max(0, Math.round(r.top + scrollY - 100)));
    }
    return out.sort((a, b) => a - b);
  });
  const positions = [0];
  for (const t of tops) if (t - positions[positions.length - 1] > 600 && positions.length < 4) positions.push(t);
  return positions;
}

// Fails an effect's text below 4.5:1, and a page text that read at 4.5:1 on the bare page and
// reads worse with the effect.
export function judgeContrast(found, bare, where) {
  const errors = [];
  for (const [key, f] of Object.entries(found)) {
    if (f.ratio >= 4.5) continue;
    if (f.effect) errors.push(`${where}: the effect's text "${f.text}" reads at ${f.ratio.toFixed(2)}:1 (at least 4.5:1 wanted)`);
    else if (bare[key] && bare[key].ratio >= 4.5) errors.push(`${where}: the page's text "${f.text}" reads at ${f.ratio.toFixed(2)}:1 with the effect, ${bare[key].ratio.toFixed(2)}:1 without`);
  }
  return errors;
}
