/* Shared by every copy on the page (pelto-greeting.js). */
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
  P.each(".pelto-greeting", function (el) { P.dress(el, "--pelto-greeting-"); }, true);
  // Shared by every banner of the page; each copy starts its own element.
  P.greeting = P.greeting || {
    start(banner) {
      if (!banner || banner.dataset.peltoReady) return;
      banner.dataset.peltoReady = "1";
      const hello = banner.querySelector(".pelto-greeting-hello");
      const date = banner.querySelector(".pelto-greeting-date");
      const styles = ["full", "long", "medium", "short"];
      const dateStyle = styles.includes(banner.dataset.dateStyle) ? banner.dataset.dateStyle : "long";
      const format = new Intl.DateTimeFormat(undefined, { dateStyle });
      // Written only when it changes, so a screen reader does not hear the banner every minute.
      function put(node, text) {
        if (node.textContent !== text) node.textContent = text;
      }
      function update() {
        const now = new Date();
        const hour = now.getHours();
        const part = hour >= 5 && hour < 12 ? "morning" : hour >= 12 && hour < 18 ? "afternoon" : hour >= 18 && hour < 23 ? "evening" : "night";
        put(hello, (banner.dataset[part] || "").trim());
        put(date, format.format(now));
      }
      update();
      setInterval(() => {
        if (document.visibilityState !== "hidden") update();
      }, 60000);
    },
  };
  P.each(".pelto-greeting", function (el) { P.greeting.start(el); });
})();
