/* Shared by every copy on the page (pelto-reveal.js). */
/* Reveal Text on Scroll: elements below the fold wait hidden until they come into view. */
(function () {
  "use strict";
  var P = (window.Pelto = window.Pelto || {});
  if (P.reveal) return;
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");
  const MOVES = { up: { translate: "0 1.5em" }, left: { translate: "-2em 0" }, zoom: { scale: "0.85" } };
  const times = new WeakMap();
  let watcher = null;

  function appear(el, animate) {
    if (el.hasAttribute("data-pelto-rv-in")) return;
    el.setAttribute("data-pelto-rv-in", "");
    if (!animate || still.matches || !el.animate) return;
    const from = Object.assign({ opacity: 0 }, MOVES[el.getAttribute("data-pelto-rv")] || {});
    el.animate([from], { duration: times.get(el) || 700, easing: "ease-out" });
  }

  function inView(el) {
    const box = el.getBoundingClientRect();
    return box.top <= window.innerHeight * 0.92 && box.bottom >= 0;
  }

  /* Claims the elements each copy names; an element keeps the first copy that claims it. The page's
     own class and style attributes stay untouched: the state lives in data-pelto-rv and data-pelto-rv-in. */
  function init() {
    if (!watcher && window.IntersectionObserver) {
      watcher = new IntersectionObserver(function (entries) {
        entries.forEach(function (entry) {
          if (!entry.isIntersecting) return;
          watcher.unobserve(entry.target);
          appear(entry.target, true);
        });
      }, { rootMargin: "0px 0px -8% 0px" });
    }
    document.querySelectorAll("[data-pelto-reveal]").forEach(function (conf) {
      if (conf.dataset.peltoReady) return;
      conf.dataset.peltoReady = "1";
      const select = (conf.getAttribute("data-select") || "").trim() || "h2, h3, p";
      let found;
      try {
        found = document.querySelectorAll(select);
      } catch (err) {
        console.warn("Reveal Text on Scroll: not a valid selector: " + select);
        return;
      }
      const look = conf.dataset.look || "fade";
      const time = Math.max(0, Number(conf.dataset.duration) || 700);
      found.forEach(function (el) {
        if (el.hasAttribute("data-pelto-rv") || el.closest("[data-pelto-reveal], [class*='pelto-']")) return;
        el.setAttribute("data-pelto-rv", look);
        times.set(el, time);
        if (still.matches || !watcher || inView(el)) appear(el, false);
        else watcher.observe(el);
      });
    });
  }

  P.reveal = { init: init };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", init);
  } else {
    init();
  }
  window.addEventListener("load", () => P.reveal.init());
})();
