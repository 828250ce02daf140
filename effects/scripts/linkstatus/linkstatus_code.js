/* Shared by every copy on the page (pelto-linkstatus.js). */
/* Link Description Bar: the shared mouse handler and focus changes tell every bar which link is current. */
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
  P.each(".pelto-ls", function (el) { P.dress(el, "--pelto-ls-"); }, true);
  if (P.linkstatus) return;
  const timers = new Map();
  let current = null;

  function bars() {
    return document.querySelectorAll("[data-pelto-linkstatus]");
  }

  function hide(bar) {
    clearTimeout(timers.get(bar));
    timers.set(bar, setTimeout(function () { bar.hidden = true; }, Math.max(0, Number(bar.dataset.delay) || 0)));
  }

  function overlaps(a, b) {
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
  }

  function show(bar, text, more, link) {
    clearTimeout(timers.get(bar));
    bar.style.setProperty("--pelto-ls-stack", String(Number(bar.dataset.stack) || 0));
    bar.textContent = text;
    if (more) {
      const extra = document.createElement("span");
      extra.className = "pelto-ls-more";
      extra.textContent = more;
      bar.appendChild(extra);
    }
    bar.classList.remove("pelto-ls-flip");
    bar.hidden = false;
    /* The bar never lies over the focused link: it moves to the other edge, or stays away. */
    if (link === document.activeElement) {
      const spot = link.getBoundingClientRect();
      if (overlaps(bar.getBoundingClientRect(), spot)) {
        bar.classList.add("pelto-ls-flip");
        if (overlaps(bar.getBoundingClientRect(), spot)) bar.hidden = true;
      }
    }
  }

  /* Shows each bar's texts for the link that holds target, or hides the bar. */
  function follow(target) {
    const link = target && target.closest ? target.closest("a") : null;
    if (link === current) return;
    current = link;
    bars().forEach(function (bar) {
      const text = link ? (link.getAttribute(bar.dataset.text) || "").trim() : "";
      const more = link ? (link.getAttribute(bar.dataset.more) || "").trim() : "";
      if (text || more) show(bar, text, more, link);
      else hide(bar);
    });
  }

  /* The pointer left the window (not every browser fires mouseleave on the document): the
     bar goes back to the focused link, if any. */
  function pointerGone() {
    current = undefined;
    follow(document.activeElement);
  }

  document.addEventListener("focusin", function (event) { follow(event.target); });
  document.addEventListener("focusout", function (event) {
    if (!event.relatedTarget) follow(null);
  });
  document.addEventListener("mouseout", function (event) {
    if (!event.relatedTarget) pointerGone();
  });
  document.documentElement.addEventListener("mouseleave", pointerGone);
  /* Scrolling may bring the focused link under the bar: look again once per frame. */
  let queued = false;
  window.addEventListener("scroll", function () {
    if (queued || !current || current !== document.activeElement) return;
    queued = true;
    window.requestAnimationFrame(function () {
      queued = false;
      const link = current;
      if (!link || link !== document.activeElement) return;
      current = undefined;
      follow(link);
    });
  }, { passive: true });
  P.linkstatus = { follow: follow };
  document.addEventListener("mousemove", function (event) { follow(event.target); });
})();
