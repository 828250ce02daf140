/* Tiled Background, shared by every copy on the page (ptiledbg.js). */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  /* The page holds each copy's values (data-look-* attributes); they become custom properties of
     the copy's element, set through the CSSOM, which a strict Content-Security-Policy allows.
     P.each runs fn once for each copy once the parser has its whole element, or with `early` as
     soon as the element is there (its attributes are whole then): copies are dressed that way,
     so they have their look from the first paint. */
  P.each = P.each || function (selector, fn, early) {
    const done = new WeakSet();
    /* An element is whole once the parser has gone past its end tag. */
    const whole = function (el) {
      if (document.readyState !== "loading") return true;
      for (let n = el; n; n = n.parentNode) if (n.nextSibling) return true;
      return false;
    };
    const run = function () {
      document.querySelectorAll(selector).forEach(function (el) {
        if (!done.has(el) && (early || whole(el))) { done.add(el); fn(el); }
      });
    };
    run();
    if (document.readyState === "loading") {
      const watcher = new MutationObserver(run);
      watcher.observe(document.documentElement, { childList: true, subtree: true });
      document.addEventListener("DOMContentLoaded", function () { watcher.disconnect(); run(); });
    }
  };
  P.dress = P.dress || function (el, prefix) {
    for (const a of Array.from(el.attributes)) {
      if (a.name.indexOf("data-look-") === 0) el.style.setProperty(prefix + a.name.slice(10), a.value);
    }
  };
  /* Shared by the effects that paint behind the page's text: the text colours of the page that
     lie straight on the page's background (text on a box of its own does not count), and a
     colour for the background that keeps each of them at 4.5:1 (the colour given, or the
     nearest lighter shade behind dark text, darker shade behind light text). */
  P.behind = P.behind || {
    rgb(text) {
      const m = /rgba?\(([\d.]+),\s*([\d.]+),\s*([\d.]+)(?:,\s*([\d.]+))?/.exec(text);
      return m && (m[4] === undefined || Number(m[4]) > 0.5) ? [Number(m[1]), Number(m[2]), Number(m[3])] : null;
    },
    lum(c) {
      const f = (v) => ((v /= 255) <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4));
      return 0.2126 * f(c[0]) + 0.7152 * f(c[1]) + 0.0722 * f(c[2]);
    },
    ratio(a, b) {
      const x = this.lum(a);
      const y = this.lum(b);
      return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
    },
    inks() {
      const found = [];
      const body = this.rgb(getComputedStyle(document.body).color) || [0, 0, 0];
      const seen = new Set();
      for (const el of document.querySelectorAll("body, body h1, body h2, body h3, body p, body li, body a")) {
        if (found.length > 12) break;
        if (el.closest("[class*='pelto-']")) continue;
        let boxed = false;
        for (let e = el; e && e !== document.body; e = e.parentElement) if (this.rgb(getComputedStyle(e).backgroundColor)) boxed = true;
        const ink = this.rgb(getComputedStyle(el).color);
        if (boxed || !ink || seen.has(ink.join())) continue;
        seen.add(ink.join());
        found.push(ink);
      }
      const light = this.lum(body) > 0.4;
      return { light, inks: found.filter((c) => (this.lum(c) > 0.4) === light) };
    },
    fit(colour, page) {
      const own = this.rgb(colour);
      if (!own) return colour;
      const to = page.light ? 0 : 255;
      for (let t = 0; t <= 1.001; t += 0.05) {
        const c = own.map((v) => Math.round(v + (to - v) * t));
        if (page.inks.every((ink) => this.ratio(ink, c) >= 4.6)) return t === 0 ? colour : "rgb(" + c.join(", ") + ")";
      }
      return to ? "rgb(255, 255, 255)" : "rgb(0, 0, 0)";
    },
  };
  // Shared by every copy of the page. The body has one background, so the copy that runs last
  // owns it: the page's scroll handler calls scrolled() with each copy's name, and only the
  // owner moves the picture.
  P.tiledbg = P.tiledbg || {
    owner: null,
    add(name, { picture, colour, movement, depth }) {
      const style = document.body.style;
      // A veil of the page's own background colour lies over the picture, so the page's text
      // keeps reading on it: denser on a dark page, and on a light page whose text needs a
      // background nearly as light as the page's own (a pale heading colour, say).
      const page = P.behind.inks();
      const back = P.behind.rgb(getComputedStyle(document.body).backgroundColor) || P.behind.rgb(getComputedStyle(document.documentElement).backgroundColor) || [255, 255, 255];
      const need = Math.max(0, ...page.inks.map((ink) => (P.behind.lum(ink) + 0.05) * 4.6 - 0.05));
      const veil = "rgba(" + back.join(", ") + (page.light ? ", 0.82)" : need > 0.7 ? ", 0.9)" : ", 0.6)");
      if (movement === "parallax" && matchMedia("(prefers-reduced-motion: reduce)").matches) movement = "fixed";
      // Set on the element itself so the page's own body rules cannot hide the picture.
      style.backgroundColor = colour;
      style.backgroundImage = "linear-gradient(" + veil + ", " + veil + "), url(\"" + picture + "\")";
      style.backgroundRepeat = "repeat";
      style.backgroundSize = "auto";
      style.backgroundAttachment = movement === "scroll" ? "scroll" : "fixed";
      style.backgroundPosition = "0 0";
      this.owner = { name, movement, depth, queued: false };
      this.scrolled(name);
    },
    scrolled(name) {
      const owner = this.owner;
      if (!owner || owner.name !== name || owner.movement !== "parallax" || owner.queued) return;
      owner.queued = true;
      requestAnimationFrame(() => {
        owner.queued = false;
        if (this.owner === owner) document.body.style.backgroundPosition = "0 " + (-scrollY * owner.depth).toFixed(1) + "px";
      });
    },
  };
  P.each(".pelto-tiledbg-set", (set) => {
    P.tiledbg.add(set.id, {
      picture: set.dataset.picture || "",
      colour: set.dataset.colour || "",
      movement: set.dataset.movement || "",
      depth: (Number(set.dataset.depth) || 0) / 100,
    });
  });
  window.addEventListener("scroll", () => {
    document.querySelectorAll(".pelto-tiledbg-set").forEach((set) => P.tiledbg.scrolled(set.id));
  }, { passive: true });
})();
