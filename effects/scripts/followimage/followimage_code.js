/* Shared by every copy on the page (pelto-followimage.js). */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.followimage) return;
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
  // Shared by every picture of the page; one mouse-move and one resize listener call move()
  // and fit() of every picture.
  P.followimage = {
    pictures: {},
    still: matchMedia("(prefers-reduced-motion: reduce)"),
    add(picture, { offsetX, offsetY, speed }) {
      if (!picture) return;
      const still = this.still;
      const state = { x: 0, y: 0, goalX: 0, goalY: 0, running: false };
      function place() {
        picture.style.transform = "translate(" + state.x.toFixed(1) + "px," + state.y.toFixed(1) + "px)";
      }
      function keepInside() {
        const width = picture.offsetWidth || 32;
        const height = picture.offsetHeight || 32;
        state.goalX = Math.min(Math.max(state.goalX, 0), Math.max(0, innerWidth - width));
        state.goalY = Math.min(Math.max(state.goalY, 0), Math.max(0, innerHeight - height));
      }
      // The loop runs only while the picture is on its way, and never in a hidden tab.
      function step() {
        state.x += (state.goalX - state.x) * speed;
        state.y += (state.goalY - state.y) * speed;
        const near = Math.abs(state.goalX - state.x) < 0.3 && Math.abs(state.goalY - state.y) < 0.3;
        if (near || document.visibilityState === "hidden") {
          state.x = state.goalX;
          state.y = state.goalY;
        }
        place();
        state.running = !near && document.visibilityState !== "hidden";
        if (state.running) requestAnimationFrame(step);
      }
      // Readers who ask for reduced motion see the picture jump to its place without gliding.
      function go() {
        keepInside();
        if (still.matches) {
          state.x = state.goalX;
          state.y = state.goalY;
          place();
        } else if (!state.running) {
          state.running = true;
          requestAnimationFrame(step);
        }
      }
      this.pictures[picture.id] = {
        move(event) {
          state.goalX = event.clientX + offsetX;
          state.goalY = event.clientY + offsetY;
          // The picture waits out of sight until the pointer first moves, then starts beside it.
          if (!picture.classList.contains("pelto-followimage-shown")) {
            state.x = state.goalX;
            state.y = state.goalY;
            picture.classList.add("pelto-followimage-shown");
          }
          go();
        },
        fit: go,
      };
      place();
    },
    move(id, event) {
      if (this.pictures[id]) this.pictures[id].move(event);
    },
    fit(id) {
      if (this.pictures[id]) this.pictures[id].fit();
    },
  };
  // Later copies settle a little further from the pointer so the pictures do not hide one another.
  P.each(".pelto-followimage", (picture) => {
    const spread = 1 + (Number(picture.dataset.copy) || 0) * 0.6;
    P.followimage.add(picture, {
      offsetX: (Number(picture.dataset.offsetX) || 0) * spread,
      offsetY: (Number(picture.dataset.offsetY) || 0) * spread,
      speed: Math.min(1, Math.max(0.01, (Number(picture.dataset.speed) || 0) / 100)),
    });
  });
  document.addEventListener("mousemove", (event) => {
    for (const id of Object.keys(P.followimage.pictures)) P.followimage.move(id, event);
  });
  window.addEventListener("resize", () => {
    for (const id of Object.keys(P.followimage.pictures)) P.followimage.fit(id);
  });
})();
