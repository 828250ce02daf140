/* Shared by every copy on the page (pelto-rotatewords.js). */
/* Rotating Words: one timer per sentence, running only while the words may change. */
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
  P.each(".pelto-rw", function (el) { P.dress(el, "--pelto-rw-"); }, true);
  if (P.rotatewords) return;
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

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const words = Array.from(box.querySelectorAll(".pelto-rw-word"), function (w) {
      return w.textContent.trim();
    }).filter(Boolean);
    const slot = box.querySelector(".pelto-rw-slot");
    const pause = box.querySelector(".pelto-rw-pause");
    if (!slot || !pause || words.length === 0) return;
    /* The word shown, and an invisible copy of every word that holds the slot's width. */
    const now = document.createElement("span");
    now.className = "pelto-rw-now";
    now.dir = "auto";
    words.forEach(function (word) {
      const ghost = document.createElement("span");
      ghost.className = "pelto-rw-ghost";
      ghost.dir = "auto";
      ghost.textContent = word;
      slot.appendChild(ghost);
    });
    slot.appendChild(now);
    box.classList.add("pelto-rw-on");
    /* The word's colour reads on the page's background, light or dark. */
    function fitColour() {
      slot.style.color = "";
      const given = getComputedStyle(slot).color;
      const fit = P.readable(slot, given);
      if (fit !== given) slot.style.color = fit;
    }
    fitColour();
    matchMedia("(prefers-color-scheme: dark)").addEventListener("change", fitColour);
    let index = 0;
    now.textContent = words[0];
    if (still.matches || words.length === 1) return;
    pause.hidden = false;
    const time = Math.max(300, Number(box.dataset.time) || 2200);
    const instant = box.classList.contains("pelto-rw-instant");
    let stopped = false;
    let seen = true;
    let timer = 0;

    function next() {
      index = (index + 1) % words.length;
      if (instant) {
        now.textContent = words[index];
        return;
      }
      now.classList.add("pelto-rw-out");
      setTimeout(function () {
        now.textContent = words[index];
        now.classList.remove("pelto-rw-out");
      }, 350);
    }
    function update() {
      const go = !stopped && seen && document.visibilityState !== "hidden";
      if (go && !timer) timer = setInterval(next, time);
      else if (!go && timer) {
        clearInterval(timer);
        timer = 0;
      }
    }
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the changing words" : "Pause the changing words");
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
    document.querySelectorAll("[data-pelto-rotatewords]").forEach(start);
  }

  P.rotatewords = { start: start, startAll: startAll };
  /* Each sentence starts as soon as the parser has it whole, before the page below it is painted. */
  P.each("[data-pelto-rotatewords]", start);
})();
