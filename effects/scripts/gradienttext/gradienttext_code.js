/* Shared by every copy on the page (pelto-gradienttext.js). */
/* Colour Wave Headline: a pause button per headline; the wave rests while paused, off screen or
   while the tab is hidden. */
(function () {
  "use strict";
  var P = (window.Pelto = window.Pelto || {});
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
  P.each(".pelto-gh", function (el) { P.dress(el, "--pelto-gh-"); }, true);
  if (P.gradienttext) return;
  /* Shared by the effects that colour text without a box of their own: the colour given, or a
     lighter (on a dark page) or darker shade of it that reads at 4.5:1 on the background the text
     lies on (the nearest background colour of its own or an ancestor's, else the page's). */
  P.readable = P.readable || function (el, colour) {
    function rgb(text) {
      const hex = /^#([0-9a-f]{6})$/i.exec(String(text).trim());
      if (hex) return [0, 2, 4].map(function (i) { return parseInt(hex[1].slice(i, i + 2), 16); });
      const m = /rgba?\(([\d.]+),\s*([\d.]+),\s*([\d.]+)(?:,\s*([\d.]+))?/.exec(text);
      return m && (m[4] === undefined || Number(m[4]) > 0.5) ? [Number(m[1]), Number(m[2]), Number(m[3])] : null;
    }
    function lum(c) {
      const f = function (v) { v /= 255; return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); };
      return 0.2126 * f(c[0]) + 0.7152 * f(c[1]) + 0.0722 * f(c[2]);
    }
    function ratio(a, b) {
      const x = lum(a);
      const y = lum(b);
      return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
    }
    const own = rgb(colour);
    if (!own) return colour;
    let back = null;
    for (let e = el; e && !back; e = e.parentElement) back = rgb(getComputedStyle(e).backgroundColor);
    if (!back) back = rgb(getComputedStyle(document.documentElement).backgroundColor) || (matchMedia("(prefers-color-scheme: dark)").matches && getComputedStyle(document.documentElement).colorScheme.indexOf("dark") >= 0 ? [18, 18, 18] : [255, 255, 255]);
    if (ratio(own, back) >= 4.5) return colour;
    const to = lum(back) < 0.18 ? 255 : 0;
    for (let t = 0.1; t < 1; t += 0.1) {
      const c = own.map(function (v) { return Math.round(v + (to - v) * t); });
      if (ratio(c, back) >= 4.5) return "rgb(" + c.join(", ") + ")";
    }
    return to ? "rgb(255, 255, 255)" : "rgb(0, 0, 0)";
  };
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");

  function start(head) {
    if (head.dataset.peltoReady) return;
    head.dataset.peltoReady = "1";
    const pause = head.parentElement && head.parentElement.querySelector(".pelto-gh-pause");
    if (!pause) return;
    /* Both colours read on the page's background, light or dark. */
    function fitColours() {
      ["--pelto-gh-a", "--pelto-gh-b"].forEach(function (name) {
        const given = (head.getAttribute("data-look-" + name.slice(11)) || "").trim();
        if (given) head.style.setProperty(name, P.readable(head, given));
      });
      head.style.color = "var(--pelto-gh-a)";
    }
    fitColours();
    matchMedia("(prefers-color-scheme: dark)").addEventListener("change", fitColours);
    let stopped = false;
    let seen = true;
    function update() {
      head.classList.toggle("pelto-gh-rest", stopped || !seen || document.visibilityState === "hidden");
    }
    pause.hidden = still.matches;
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the colour wave" : "Pause the colour wave");
      update();
    });
    document.addEventListener("visibilitychange", update);
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(head);
    }
    update();
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-gradienttext]").forEach(start);
  }

  P.gradienttext = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
