// Tooltips for links that carry a title and a text in data attributes.
// Shared by every copy of the effect on a page; each copy calls attach() with its own names.
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.linktips) return;
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
  P.each(".pelto-linktips", (tip) => P.dress(tip, "--pelto-lt-"), true);
  // How long a tooltip stays after the pointer leaves its link, so the pointer can reach it.
  const GRACE = 400;
  function attach({ tip, titleAttribute, textAttribute, delay, gap }) {
    if (!tip) return;
    const selector = "[" + titleAttribute + "]";
    let timer = 0;
    let current = null;
    function hide() {
      clearTimeout(timer);
      if (!current) return;
      current.removeAttribute("aria-describedby");
      current = null;
      tip.classList.remove("pelto-linktips-shown");
      tip.hidden = true;
    }
    // The tooltip is placed once, in page coordinates, so scrolling carries it along with its
    // link and nothing is measured again while the page scrolls.
    function show(link) {
      const title = (link.getAttribute(titleAttribute) || "").trim();
      const text = (link.getAttribute(textAttribute) || "").trim();
      if (!title && !text) return;
      tip.replaceChildren();
      if (title) tip.appendChild(document.createElement("strong")).textContent = title;
      if (text) tip.appendChild(document.createElement("span")).textContent = text;
      tip.hidden = false;
      const box = link.getBoundingClientRect();
      const left = Math.min(box.left, document.documentElement.clientWidth - tip.offsetWidth - 4);
      tip.style.left = Math.max(4, left) + scrollX + "px";
      tip.style.top = box.bottom + gap + scrollY + "px";
      current = link;
      if (text) link.setAttribute("aria-describedby", tip.id);
      requestAnimationFrame(() => tip.classList.add("pelto-linktips-shown"));
    }
    function later(action, wait) {
      clearTimeout(timer);
      timer = setTimeout(action, wait);
    }
    // The pointer may move from the link onto the tooltip and rest there.
    document.addEventListener("pointerover", (event) => {
      if (event.target.closest(".pelto-linktips")) {
        clearTimeout(timer);
        return;
      }
      const link = event.target.closest(selector);
      if (link && link === current) clearTimeout(timer);
      else if (link) later(() => show(link), delay);
      else if (current && current !== document.activeElement) later(hide, GRACE);
      else clearTimeout(timer);
    });
    document.addEventListener("focusin", (event) => {
      const link = event.target.closest(selector);
      if (link) later(() => show(link), 0);
      else hide();
    });
    document.addEventListener("focusout", (event) => {
      if (event.target === current) hide();
    });
    document.addEventListener("keydown", (event) => {
      if (event.key === "Escape") hide();
    });
    // A tap (or click) anywhere but on the link or its tooltip closes the tooltip.
    document.addEventListener("pointerdown", (event) => {
      if (current && !current.contains(event.target) && !event.target.closest(".pelto-linktips")) hide();
    });
    // A new layout may move the link: the tooltip goes and comes back on the next hover.
    addEventListener("resize", hide, { passive: true });
  }
  P.linktips = { attach };
  // Each copy's tip names the attributes its links carry and how it behaves.
  P.each(".pelto-linktips", (tip) => {
    const start = () => attach({
      tip,
      titleAttribute: "data-" + tip.dataset.titleName,
      textAttribute: "data-" + tip.dataset.textName,
      delay: Number(tip.dataset.delay) || 0,
      gap: 6 + (Number(tip.dataset.copy) || 0) * 40,
    });
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start);
    else start();
  });
})();
