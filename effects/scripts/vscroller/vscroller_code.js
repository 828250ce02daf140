/* Shared by every copy on the page (pelto-vscroller.js). */
/* Vertical News Scroller: starts once the body carries data-pelto-vscroll and the page has loaded. */
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
  P.each(".pelto-vs", function (el) { P.dress(el, "--pelto-vs-"); }, true);
  if (P.vscroller) return;
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
  const boxes = [];

  function overlaps(a, b) {
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
  }

  /* A box never hides the focused element: it moves to the top corner, and if that covers it too,
     it stands aside until the focus moves on. */
  function makeRoom() {
    const focused = document.activeElement;
    boxes.forEach(function (box) {
      box.classList.remove("pelto-vs-aside", "pelto-vs-away");
      if (!focused || focused === document.body || box.contains(focused)) return;
      const spot = focused.getBoundingClientRect();
      if (!overlaps(box.getBoundingClientRect(), spot)) return;
      box.classList.add("pelto-vs-aside");
      if (overlaps(box.getBoundingClientRect(), spot)) box.classList.add("pelto-vs-away");
    });
  }
  let roomQueued = false;
  function queueRoom() {
    if (roomQueued || boxes.length === 0) return;
    roomQueued = true;
    window.requestAnimationFrame(function () {
      roomQueued = false;
      makeRoom();
    });
  }
  document.addEventListener("focusin", queueRoom);
  document.addEventListener("focusout", queueRoom);
  window.addEventListener("scroll", function () {
    if (document.activeElement && document.activeElement !== document.body) queueRoom();
  }, { passive: true });
  window.addEventListener("resize", queueRoom);

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const view = box.querySelector(".pelto-vs-view");
    const track = box.querySelector(".pelto-vs-track");
    const list = box.querySelector(".pelto-vs-list");
    const pause = box.querySelector(".pelto-vs-pause");
    if (!view || !track || !list || !pause) return;
    boxes.push(box);
    /* The box has a colour of its own: its text reads on it whatever the page's text colour. */
    const given = getComputedStyle(box).color;
    const fit = P.readable(box, given);
    if (fit !== given) box.style.color = fit;
    if (still.matches || list.children.length === 0) {
      box.classList.add("pelto-vs-still");
      return;
    }
    const twin = list.cloneNode(true);
    twin.setAttribute("aria-hidden", "true");
    track.appendChild(twin);
    pause.hidden = false;
    const speed = Math.max(1, Number(box.dataset.speed) || 25);
    let held = false;
    let stopped = false;
    let seen = true;

    /* The items rise by a CSS animation of their transform, which the browser runs without its
       main thread: one list's height in height / speed seconds, then again from the start (where
       the hidden copy stood). The script only sets the distance and pauses. */
    function measure() {
      const height = list.offsetHeight;
      box.style.setProperty("--pelto-vs-shift", -height + "px");
      box.style.setProperty("--pelto-vs-time", Math.max(1, height / speed).toFixed(2) + "s");
    }
    function update() {
      const run = !held && !stopped && seen && document.visibilityState !== "hidden";
      box.classList.toggle("pelto-vs-held", !run);
    }
    measure();
    box.classList.add("pelto-vs-run");
    box.addEventListener("mouseenter", function () { held = true; update(); });
    box.addEventListener("mouseleave", function () { held = false; update(); });
    box.addEventListener("focusin", function () { held = true; update(); });
    box.addEventListener("focusout", function (event) {
      if (!box.contains(event.relatedTarget)) { held = false; update(); }
    });
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the news" : "Pause the news");
      update();
    });
    document.addEventListener("visibilitychange", update);
    if (window.ResizeObserver) {
      new ResizeObserver(measure).observe(list);
    }
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(box);
    }
    update();
  }

  function startAll() {
    if (!document.body || !document.body.hasAttribute("data-pelto-vscroll")) return;
    document.querySelectorAll("[data-pelto-vscroller]").forEach(start);
    makeRoom();
  }

  P.vscroller = { start: start, startAll: startAll };
  if (document.readyState === "complete") startAll();
  else window.addEventListener("load", startAll);
})();
