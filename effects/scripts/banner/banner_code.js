/* Shared by every copy on the page (pelto-banner.js). */
/* Scrolling Text Banner: a pause button per banner; the message rests while paused, hovered,
   focused, off screen or while the tab is hidden. */
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
  P.each(".pelto-bn", function (el) { P.dress(el, "--pelto-bn-"); }, true);
  if (P.banner) return;
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");

  function measure(box) {
    const view = box.querySelector(".pelto-bn-view");
    const text = box.querySelector(".pelto-bn-text");
    if (view && text) box.style.setProperty("--pelto-bn-room", Math.max(0, view.clientWidth - text.offsetWidth) + "px");
  }

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const pause = box.querySelector(".pelto-bn-pause");
    const text = box.querySelector(".pelto-bn-text");
    if (!pause) return;
    if (text && getComputedStyle(text).direction === "rtl") box.classList.add("pelto-bn-rtl");
    let stopped = false;
    let seen = true;
    function update() {
      box.classList.toggle("pelto-bn-rest", stopped || !seen || document.visibilityState === "hidden");
    }
    pause.hidden = still.matches;
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the message" : "Pause the message");
      update();
    });
    document.addEventListener("visibilitychange", update);
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(box);
    }
    if (window.ResizeObserver && box.classList.contains("pelto-bn-swing")) {
      new ResizeObserver(function () { measure(box); }).observe(box);
    }
    measure(box);
    update();
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-banner]").forEach(start);
  }

  P.banner = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
