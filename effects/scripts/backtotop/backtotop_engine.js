/* Back to Top button, shared by every button of the page (pelto-backtotop.js). */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.backtotop) return;
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
  // Shared by every button of the page; one scroll listener shows and hides them all.
  P.backtotop = {
    add(button) {
      if (!button || button.dataset.peltoReady) return;
      button.dataset.peltoReady = "1";
      // The button's own text is its name (what a speech user says to press it); a button
      // without text is named for what it does.
      if (!button.textContent.trim()) button.setAttribute("aria-label", "Back to top");
      button.addEventListener("click", () => {
        const still = matchMedia("(prefers-reduced-motion: reduce)").matches;
        window.scrollTo({ top: 0, behavior: still ? "auto" : "smooth" });
        // Keyboard users continue from the top of the page, not from the hidden button.
        const body = document.body;
        const hadTabIndex = body.hasAttribute("tabindex");
        if (!hadTabIndex) body.setAttribute("tabindex", "-1");
        body.focus({ preventScroll: true });
        if (!hadTabIndex) body.removeAttribute("tabindex");
      });
      this.scrolled(button);
    },
    scrolled(button) {
      button.hidden = scrollY < (Number(button.dataset.threshold) || 0);
    },
  };
  P.each(".pelto-backtotop", function (button) { P.dress(button, "--pelto-btt-"); }, true);
  P.each(".pelto-backtotop", function (button) { P.backtotop.add(button); });
  window.addEventListener("scroll", () => {
    document.querySelectorAll(".pelto-backtotop").forEach((button) => P.backtotop.scrolled(button));
  }, { passive: true });
})();
