/* Shared by every copy on the page (pelto-linkhover.js). */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.linkhover) return;
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
  // Shared by every copy of the page; each copy's settings element (.pelto-linkhover-set) marks
  // the links of the part of the page the user chose and gives them its line (data-line-*).
  P.linkhover = {
    add(set) {
      const look = set.id;
      const scope = set.dataset.links || "";
      const from = set.dataset.from || "";
      const mark = () => {
        let parts = [];
        try {
          parts = [...document.querySelectorAll(scope.trim() || "body")];
        } catch {
          console.warn("Sweeping link underline: \"" + scope + "\" is not a selector of the page; no link was changed.");
          return;
        }
        const side = ["left", "center", "right"].includes(from) ? from : "left";
        for (const part of parts) {
          const links = part.matches("a[href]") ? [part] : part.querySelectorAll("a[href]");
          for (const link of links) {
            // Links that other effects build keep their own look.
            if (link.parentElement && link.parentElement.closest("[class*='pelto-']")) continue;
            link.classList.add("pelto-linkhover", "pelto-linkhover-from-" + side, look);
            for (const a of Array.from(set.attributes)) {
              if (a.name.indexOf("data-line-") === 0) link.style.setProperty("--pelto-linkhover-" + a.name.slice(10), a.value);
            }
          }
        }
      };
      if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", mark);
      else mark();
    },
  };
  P.each(".pelto-linkhover-set", (set) => P.linkhover.add(set));
})();
