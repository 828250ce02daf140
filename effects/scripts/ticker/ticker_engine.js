/* News Ticker engine, shared by every ticker of the page (pelto-ticker.js). */
(function () {
  "use strict";
  if (window.PeltoTicker) return;
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");

  /* Entries read "headline|address"; an entry without an address stays plain text. */
  function linkify(list) {
    list.querySelectorAll("li").forEach(function (li) {
      const text = li.textContent;
      const bar = text.lastIndexOf("|");
      if (bar === -1) {
        li.textContent = text.trim();
        return;
      }
      const link = document.createElement("a");
      link.textContent = text.slice(0, bar).trim();
      link.href = text.slice(bar + 1).trim() || "#";
      li.textContent = "";
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
    let offset = 0;
    let last = 0;
    let held = false;
    let stopped = false;

    box.addEventListener("mouseenter", function () { held = true; });
    box.addEventListener("mouseleave", function () { held = false; });
    box.addEventListener("focusin", function () { held = true; });
    box.addEventListener("focusout", function (event) {
      if (!box.contains(event.relatedTarget)) held = false;
    });
    pause.addEventListener("click", function () {
      stopped = !stopped;
      pause.setAttribute("aria-pressed", stopped ? "true" : "false");
      pause.setAttribute("aria-label", stopped ? "Play the headlines" : "Pause the headlines");
    });

    function frame(now) {
      const width = list.offsetWidth;
      const step = last ? Math.min(now - last, 100) / 1000 : 0;
      last = now;
      if (!held && !stopped && document.visibilityState !== "hidden" && width > 0) {
        offset += sign * speed * step;
        if (offset <= -width) offset += width;
        if (offset > 0) offset -= width;
        track.style.transform = "translateX(" + offset.toFixed(2) + "px)";
      }
      window.requestAnimationFrame(frame);
    }
    window.requestAnimationFrame(frame);
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-ticker]").forEach(start);
  }

  window.PeltoTicker = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
