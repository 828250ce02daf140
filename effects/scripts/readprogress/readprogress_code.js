/* Shared by every copy on the page (pelto-readprogress.js). */
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
  P.each(".pelto-readprogress", function (el) { P.dress(el, "--pelto-readprogress-"); }, true);
  // Shared by every bar of the page; one scroll, resize and load listener calls update()
  // with the bar's id.
  P.readprogress = P.readprogress || {
    update(id) {
      const bar = document.getElementById(id);
      if (!bar) return;
      const root = document.documentElement;
      const room = root.scrollHeight - root.clientHeight;
      const share = room > 0 ? Math.min(1, Math.max(0, root.scrollTop / room)) : 1;
      bar.firstElementChild.style.transform = "scaleX(" + share.toFixed(4) + ")";
      const now = String(Math.round(share * 100));
      if (bar.getAttribute("aria-valuenow") !== now) bar.setAttribute("aria-valuenow", now);
    },
  };
  P.each(".pelto-readprogress", (bar) => P.readprogress.update(bar.id));
  const updateAll = () => document.querySelectorAll(".pelto-readprogress").forEach((bar) => P.readprogress.update(bar.id));
  window.addEventListener("scroll", updateAll, { passive: true });
  window.addEventListener("resize", updateAll);
  window.addEventListener("load", updateAll);
})();
