/* Shared by every copy on the page (pelto-noticebar.js). */
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
  P.each(".pelto-noticebar", function (el) { P.dress(el, "--pelto-noticebar-"); }, true);
  if (P.noticebar) return;
  // Shared by every notice of the page: each is closed on its own, remembered under its own key.
  P.noticebar = {
    storeKey: (notice) => "pelto-noticebar:" + location.pathname + "#" + notice.id,
    remembered(notice) {
      try {
        return localStorage.getItem(this.storeKey(notice)) === "closed";
      } catch {
        return false;
      }
    },
    setUp(notice) {
      if (notice.dataset.peltoReady) return;
      notice.dataset.peltoReady = "1";
      const link = notice.querySelector(".pelto-noticebar-link");
      if (link && !link.textContent.trim()) link.remove();
      if (this.remembered(notice)) return;
      notice.hidden = false;
      // A space of the notice's height at that end of the page lets the page scroll clear of it,
      // so the notice never hides the page's first or last lines for good.
      const space = document.createElement("div");
      space.className = "pelto-noticebar-space";
      space.setAttribute("aria-hidden", "true");
      const atTop = notice.getBoundingClientRect().top < innerHeight / 2;
      if (atTop) document.body.prepend(space);
      else document.body.append(space);
      const measure = () => {
        space.style.height = notice.offsetHeight + "px";
        this.keepClear();
      };
      measure();
      if ("ResizeObserver" in window) new ResizeObserver(measure).observe(notice);
      notice.querySelector("button").addEventListener("click", () => {
        notice.hidden = true;
        space.remove();
        this.keepClear();
        try {
          localStorage.setItem(this.storeKey(notice), "closed");
        } catch {
          // Without storage the notice simply comes back on the next visit.
        }
      });
    },
    // The page keeps the notices' room free whenever it scrolls something into view (a link
    // reached with Tab, the target of an anchor): the room goes into the scroll padding, which
    // the page's own scroll-padding rules override.
    keepClear() {
      let top = 0;
      let bottom = 0;
      for (const notice of document.querySelectorAll(".pelto-noticebar:not([hidden])")) {
        const box = notice.getBoundingClientRect();
        if (box.top < innerHeight / 2) top = Math.max(top, box.bottom);
        else bottom = Math.max(bottom, innerHeight - box.top);
      }
      const root = document.documentElement.style;
      root.setProperty("--pelto-noticebar-top", top ? Math.ceil(top) + 8 + "px" : "auto");
      root.setProperty("--pelto-noticebar-bottom", bottom ? Math.ceil(bottom) + 8 + "px" : "auto");
      // Floating controls of the library (back to top, pause buttons) stand above a bottom notice.
      root.setProperty("--pelto-noticebar-room", Math.ceil(bottom) + "px");
    },
    // A notice never hides the element that has the keyboard focus: the page scrolls it clear.
    uncover(target) {
      if (!(target instanceof HTMLElement) || target === document.body || target.closest(".pelto-noticebar")) return;
      // Elements that stand fixed in the window (or inside something that does) do not move
      // when the page scrolls; their offset parents end elsewhere than at the body.
      let root = target;
      while (root.offsetParent) root = root.offsetParent;
      if (root !== document.body) return;
      const box = target.getBoundingClientRect();
      if (!box.width && !box.height) return;
      let shift = 0;
      for (const notice of document.querySelectorAll(".pelto-noticebar:not([hidden])")) {
        const bar = notice.getBoundingClientRect();
        if (box.bottom <= bar.top || box.top >= bar.bottom) continue;
        // Above the middle of the window the bar is at the top: scroll the page up, else down.
        if (bar.top < innerHeight / 2) shift = Math.min(shift, box.top - bar.bottom - 8);
        else shift = Math.max(shift, box.bottom - bar.top + 8);
      }
      if (shift) window.scrollBy({ top: shift, behavior: "instant" });
    },
    setUpAll() {
      document.querySelectorAll(".pelto-noticebar").forEach((notice) => this.setUp(notice));
    },
  };
  document.addEventListener("focusin", (event) => requestAnimationFrame(() => P.noticebar.uncover(event.target)));
  addEventListener("resize", () => P.noticebar.keepClear(), { passive: true });
  // Copies added to the page later stand behind this script, so wait for the whole page.
  if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", () => P.noticebar.setUpAll());
  else P.noticebar.setUpAll();
})();
