/* News Ticker engine, shared by every ticker of the page (pelto-ticker.js). */
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
  if (P.ticker) return;
  P.each("[data-pelto-ticker]", function (box) { P.dress(box, "--pelto-tk-"); }, true);
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");

  /* Entries read "headline|address" (from data-entry, as typed); without an address they stay text. */
  function linkify(list) {
    list.querySelectorAll("li").forEach(function (li) {
      const text = li.hasAttribute("data-entry") ? li.getAttribute("data-entry") : li.textContent;
      const bar = text.lastIndexOf("|");
      li.textContent = "";
      if (bar === -1) {
        li.textContent = text.trim();
        return;
      }
      const link = document.createElement("a");
      link.textContent = text.slice(0, bar).trim();
      link.setAttribute("href", text.slice(bar + 1).trim() || "#");
      li.appendChild(link);
    });
  }

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const track = box.querySelector(".pelto-tk-track");
    const list = box.querySelector(".pelto-tk-list");
    const pause = box.querySelector(".pelto-tk-pause");
    if (!track || !list || !pause) return;
    linkify(list);
    if (still.matches || list.children.length === 0) {
      box.classList.add("pelto-tk-still");
      return;
    }
    /* A second, hidden copy of the list follows the first so the strip never runs dry. */
    const twin = list.cloneNode(true);
    twin.setAttribute("aria-hidden", "true");
    twin.querySelectorAll("a").forEach(function (a) { a.tabIndex = -1; });
    track.appendChild(twin);
    pause.hidden = false;

    const speed = Math.max(1, Number(box.dataset.speed) || 60);
    let held = false;
    let stopped = false;
    let seen = true;

    /* The strip moves by a CSS animation of its transform, which the browser runs without its
       main thread: one list's width in width / speed seconds, then again from the start (where
       the hidden copy stood). The script only sets the distance and pauses. */
    function measure() {
      const width = list.offsetWidth;
      box.style.setProperty("--pelto-tk-shift", -width + "px");
      box.style.setProperty("--pelto-tk-time", Math.max(1, width / speed).toFixed(2) + "s");
    }
    function update() {
      const run = !held && !stopped && seen && document.visibilityState !== "hidden";
      box.classList.toggle("pelto-tk-held", !run);
    }
    measure();
    box.classList.add("pelto-tk-run");
    if (box.dataset.direction === "right") box.classList.add("pelto-tk-to-right");

    box.addEventListener("mouseenter", function () { held = true; update(); });
    box.addEventListener("mouseleave", function () { held = false; update(); });
    box.addEventListener("focusin", function () { held = true; update(); });
    box.addEventListener("focusout", function (event) {
      if (!box.contains(event.relatedTarget)) { held = false; update(); }
    });
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the headlines" : "Pause the headlines");
      update();
    });
    document.addEventListener("visibilitychange", update);
    if (window.ResizeObserver) {
      new ResizeObserver(measure).observe(list);
    }
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(box);
    }
    update();
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-ticker]").forEach(start);
  }

  P.ticker = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
