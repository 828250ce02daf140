/* Shared by every copy on the page (pelto-typewriter.js). */
/* Typewriter Text: one engine for every typewriter box of the page. Typing and the blinking
   cursor rest while paused, off screen or while the tab is hidden. */
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
  P.each(".pelto-tw", function (el) { P.dress(el, "--pelto-tw-"); }, true);
  if (P.typewriter) return;
  document.documentElement.setAttribute("data-pelto-tw-js", "");
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

  /* The letters a reader sees: a base with its accents, an emoji with its modifiers and joined
     parts, a flag of two regional indicators. A line is typed and wiped a whole letter at a time,
     so no frame shows half a character. */
  const segmenter = window.Intl && Intl.Segmenter ? new Intl.Segmenter(undefined, { granularity: "grapheme" }) : null;
  const EXTEND = /^[\p{M}\u200C\u200D\uFE00-\uFE0F\u{1F3FB}-\u{1F3FF}\u{E0020}-\u{E007F}]$/u;
  const REGIONAL = /^[\u{1F1E6}-\u{1F1FF}]$/u;
  function letters(text) {
    if (segmenter) return Array.from(segmenter.segment(text), function (s) { return s.segment; });
    const out = [];
    let joined = false;
    let regional = 0;
    /* Array.from walks code points, so a surrogate pair is never split. */
    Array.from(text).forEach(function (c) {
      const pair = REGIONAL.test(c) && regional % 2 === 1;
      if (out.length && (EXTEND.test(c) || joined || pair || (c === "\n" && out[out.length - 1] === "\r"))) out[out.length - 1] += c;
      else out.push(c);
      joined = c === "\u200D";
      regional = REGIONAL.test(c) ? regional + 1 : 0;
    });
    return out;
  }

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const lines = Array.from(box.querySelectorAll(".pelto-tw-line"), function (l) {
      return l.textContent.trim();
    }).filter(Boolean).map(letters);
    const out = box.querySelector(".pelto-tw-out");
    const pause = box.querySelector(".pelto-tw-pause");
    if (!out || !pause || lines.length === 0) return;
    box.classList.add("pelto-tw-on");
    /* The text colour reads on the page's background, light or dark. */
    function fitColour() {
      box.style.color = "";
      const given = getComputedStyle(box).color;
      const fit = P.readable(box, given);
      if (fit !== given) box.style.color = fit;
    }
    fitColour();
    matchMedia("(prefers-color-scheme: dark)").addEventListener("change", fitColour);
    /* Readers who ask for less motion get every line at once (the lines themselves, shown). */
    if (still.matches) return;
    pause.hidden = false;
    const speed = Math.max(10, Number(box.dataset.speed) || 70);
    const hold = Math.max(200, Number(box.dataset.pause) || 1800);
    /* One text node takes every step: changing its text is the least work a step can cost. */
    const typed = document.createTextNode("");
    out.textContent = "";
    out.appendChild(typed);
    let line = 0;
    let pos = 0;
    let wiping = false;
    let stopped = false;
    let seen = true;
    let timer = 0;
    let due = 0;

    /* One step of typing or wiping; returns the wait before the next one. */
    function step() {
      const text = lines[line];
      if (!wiping) {
        pos += 1;
        typed.data = text.slice(0, pos).join("");
        if (pos < text.length) return speed;
        wiping = true;
        return hold;
      }
      /* Wiping goes three times as fast as typing, three letters a step: the same sight as a
         letter every third of the time, at a third of the page's work. */
      pos = Math.max(pos - 3, 0);
      typed.data = text.slice(0, pos).join("");
      if (pos > 0) return speed;
      wiping = false;
      line = (line + 1) % lines.length;
      return speed * 4;
    }
    function run() {
      timer = 0;
      due = step();
      timer = setTimeout(run, due);
    }
    function update() {
      const go = !stopped && seen && document.visibilityState !== "hidden";
      box.classList.toggle("pelto-tw-paused", !go);
      if (go && !timer) timer = setTimeout(run, due);
      else if (!go && timer) {
        clearTimeout(timer);
        timer = 0;
      }
    }
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the typing" : "Pause the typing");
      update();
    });
    document.addEventListener("visibilitychange", update);
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(box);
    }
    update();
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-typewriter]").forEach(start);
  }

  P.typewriter = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
