/* Cursor Trail, shared by every trail of the page (pelto-cursortrail.js). */
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.cursortrail) return;
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
  // Shared by every trail of the page; each copy's settings element (.pelto-cursortrail-set)
  // adds a trail under its id, and one mouse-move listener moves them all.
  P.cursortrail = {
    trails: {},
    still: matchMedia("(prefers-reduced-motion: reduce)"),
    add(name, { count, size, shape, colour }) {
      const dots = [];
      for (let i = 0; i < count; i++) {
        const dot = document.createElement("div");
        const side = Math.max(2, size * (1 - (i / count) * 0.7));
        dot.className = "pelto-cursortrail-dot";
        dot.setAttribute("aria-hidden", "true");
        Object.assign(dot.style, {
          width: side + "px",
          height: side + "px",
          marginLeft: -side / 2 + "px",
          marginTop: -side / 2 + "px",
          borderRadius: shape === "square" ? "20%" : "50%",
          background: colour,
        });
        document.body.appendChild(dot);
        dots.push({ node: dot, x: 0, y: 0, fade: 1 - i / (count + 1) });
      }
      const trail = { dots, targetX: 0, targetY: 0, running: false, shown: false };
      // The loop runs only while the dots are catching up, and never in a hidden tab.
      trail.step = () => {
        let moving = false;
        let x = trail.targetX;
        let y = trail.targetY;
        for (const dot of dots) {
          dot.x += (x - dot.x) * 0.35;
          dot.y += (y - dot.y) * 0.35;
          if (Math.abs(x - dot.x) > 0.3 || Math.abs(y - dot.y) > 0.3) moving = true;
          dot.node.style.transform = "translate(" + dot.x.toFixed(1) + "px," + dot.y.toFixed(1) + "px)";
          x = dot.x;
          y = dot.y;
        }
        trail.running = moving && document.visibilityState !== "hidden";
        if (trail.running) requestAnimationFrame(trail.step);
      };
      this.trails[name] = trail;
    },
    move(name, event) {
      const trail = this.trails[name];
      if (!trail || !trail.dots.length) return;
      // Readers who ask for reduced motion see no trail, even if they ask for it later.
      if (this.still.matches) {
        if (trail.shown) for (const dot of trail.dots) dot.node.style.opacity = "0";
        trail.shown = false;
        return;
      }
      if (!trail.shown) {
        trail.shown = true;
        for (const dot of trail.dots) {
          dot.x = event.clientX;
          dot.y = event.clientY;
          dot.node.style.opacity = String(dot.fade);
        }
      }
      trail.targetX = event.clientX;
      trail.targetY = event.clientY;
      if (!trail.running) {
        trail.running = true;
        requestAnimationFrame(trail.step);
      }
    },
  };
  P.each(".pelto-cursortrail-set", (set) => {
    P.cursortrail.add(set.id, {
      count: Math.round(Number(set.dataset.count) || 0),
      size: Number(set.dataset.size) || 0,
      shape: set.dataset.shape || "",
      colour: set.dataset.colour || "",
    });
  });
  document.addEventListener("mousemove", (event) => {
    for (const name of Object.keys(P.cursortrail.trails)) P.cursortrail.move(name, event);
  });
})();
