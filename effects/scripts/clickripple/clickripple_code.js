/* Click Ripple, shared by every copy on the page (pelto-clickripple.js). Each copy's settings
   element (.pelto-clickripple-set, hidden) holds its ring's look (data-ring-*); a click draws one ring per copy. */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.clickripple) return;
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
  P.clickripple = {
    add(set) {
      const duration = Number(set.dataset.duration) || 700;
      document.addEventListener("pointerdown", (event) => {
        const ring = document.createElement("div");
        ring.className = "pelto-clickripple";
        ring.setAttribute("aria-hidden", "true");
        for (const a of Array.from(set.attributes)) {
          if (a.name.indexOf("data-ring-") === 0) ring.style.setProperty("--pelto-clickripple-" + a.name.slice(10), a.value);
        }
        ring.style.left = event.clientX + "px";
        ring.style.top = event.clientY + "px";
        document.body.appendChild(ring);
        // The timer also clears rings whose animation never ran (a hidden tab).
        setTimeout(() => ring.remove(), duration + 100);
      }, { passive: true });
    },
  };
  P.each(".pelto-clickripple-set", (set) => P.clickripple.add(set));
})();
