/* Shared by every copy on the page (pelto-digiclock.js). */
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
  P.each(".pelto-digiclock", function (el) { P.dress(el, "--pelto-dc-"); }, true);
  // Shared by every clock of the page; each copy starts its own element.
  P.digiclock = P.digiclock || {
    start(box) {
      if (!box || box.dataset.peltoReady) return;
      box.dataset.peltoReady = "1";
      const format = new Intl.DateTimeFormat(undefined, {
        hour: "2-digit",
        minute: "2-digit",
        second: box.dataset.seconds === "yes" ? "2-digit" : undefined,
        hour12: box.dataset.hours === "12",
      });
      let timer = 0;
      // Ticks on the full second so the display never lags behind by up to a second.
      function tick() {
        box.textContent = format.format(new Date());
        timer = setTimeout(tick, 1000 - (Date.now() % 1000));
      }
      document.addEventListener("visibilitychange", () => {
        clearTimeout(timer);
        timer = 0;
        if (document.visibilityState !== "hidden") tick();
      });
      box.textContent = format.format(new Date());
      if (document.visibilityState !== "hidden") tick();
    },
  };
  P.each(".pelto-digiclock", function (el) { P.digiclock.start(el); });
})();
