/* News Ticker engine, shared by every ticker of the page (pelto-ticker.js). */
(function () {
  "use strict";
  var P = (window.Pelto = window.Pelto || {});
  if (P.ticker) return;
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
    const sign = box.dataset.direction === "right" ? 1 : -1;
    let width = list.offsetWidth;
    let offset = 0;
    let last = 0;
    let held = false;
    let stopped = false;
    let seen = true;
    let loop = 0;

    /* The loop runs only while the strip may move; it measures nothing per frame. */
    function frame(now) {
      const step = last ? Math.min(now - last, 100) / 1000 : 0;
      last = now;
      if (width > 0) {
        offset += sign * speed * step;
        if (offset <= -width) offset += width;
        if (offset > 0) offset -= width;
        track.style.transform = "translateX(" + offset.toFixed(2) + "px)";
      }
      loop = window.requestAnimationFrame(frame);
    }
    function update() {
      const run = !held && !stopped && seen && document.visibilityState !== "hidden";
      if (run && !loop) {
        last = 0;
        loop = window.requestAnimationFrame(frame);
      } else if (!run && loop) {
        window.cancelAnimationFrame(loop);
        loop = 0;
      }
    }

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
      new ResizeObserver(function () { width = list.offsetWidth; }).observe(list);
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
