/* Shared by every copy on the page (pelto-snowfall.js). */
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
  // Shared by every snow layer of the page: one loop paints them all, and one button pauses them
  // all. One resize listener calls fit() with each layer's id.
  P.snowfall = P.snowfall || {
    layers: {},
    running: false,
    last: 0,
    // Readers who ask for reduced motion start with the snow standing still.
    paused: matchMedia("(prefers-reduced-motion: reduce)").matches,
    button: null,
    add(canvas, settings) {
      if (!canvas) return;
      const layer = { canvas, paint: canvas.getContext("2d"), width: 0, height: 0, flakes: [], onScreen: true, ...settings };
      this.layers[canvas.id] = layer;
      layer.width = innerWidth;
      layer.height = innerHeight;
      for (let i = 0; i < settings.count; i++) layer.flakes.push(this.newFlake(layer, true));
      this.fit(canvas.id);
      this.addButton();
      // A layer the page has hidden or moved out of view is not painted.
      if ("IntersectionObserver" in window) {
        new IntersectionObserver((seen) => {
          layer.onScreen = seen[seen.length - 1].isIntersecting;
          this.start();
        }).observe(canvas);
      }
      document.addEventListener("visibilitychange", () => this.start());
      this.start();
    },
    addButton() {
      if (this.button) return;
      const button = document.createElement("button");
      button.type = "button";
      button.className = "pelto-snowfall-pause";
      document.body.appendChild(button);
      button.addEventListener("click", () => {
        this.paused = !this.paused;
        this.show();
        this.start();
      });
      this.button = button;
      this.show();
    },
    show() {
      this.button.setAttribute("aria-pressed", this.paused ? "true" : "false");
      this.button.setAttribute("aria-label", this.paused ? "Play the snow" : "Pause the snow");
    },
    fit(id) {
      const layer = this.layers[id];
      if (!layer) return;
      const ratio = window.devicePixelRatio || 1;
      layer.width = innerWidth;
      layer.height = innerHeight;
      layer.canvas.width = Math.round(layer.width * ratio);
      layer.canvas.height = Math.round(layer.height * ratio);
      layer.paint.setTransform(ratio, 0, 0, ratio, 0, 0);
      layer.paint.fillStyle = layer.colour;
      this.draw(layer);
    },
    newFlake(layer, anywhere) {
      const size = 1 + Math.random() * (layer.largest - 1);
      return {
        x: Math.random() * layer.width,
        y: anywhere ? Math.random() * layer.height : -size,
        size,
        fall: 0.4 + size * 0.18,
        phase: Math.random() * Math.PI * 2,
      };
    },
    draw(layer) {
      const paint = layer.paint;
      paint.clearRect(0, 0, layer.width, layer.height);
      paint.beginPath();
      for (const flake of layer.flakes) {
        paint.moveTo(flake.x + flake.size / 2, flake.y);
        paint.arc(flake.x, flake.y, flake.size / 2, 0, Math.PI * 2);
      }
      paint.fill();
    },
    // The loop runs only while the snow is playing, the tab is visible and a layer is on screen.
    wanted() {
      return !this.paused && document.visibilityState !== "hidden" && Object.values(this.layers).some((layer) => layer.onScreen);
    },
    start() {
      if (this.running || !this.wanted()) return;
      this.running = true;
      this.last = 0;
      requestAnimationFrame((time) => this.frame(time));
    },
    frame(time) {
      if (!this.wanted()) {
        this.running = false;
        return;
      }
      // Thirty pictures a second are plenty for drifting snow and halve the drawing work.
      if (!this.last || time - this.last >= 30) {
        const scale = this.last ? Math.min(3, (time - this.last) / 16.7) : 1;
        this.last = time;
        for (const layer of Object.values(this.layers)) {
          if (!layer.onScreen) continue;
          for (const flake of layer.flakes) {
            flake.phase += 0.02 * scale;
            flake.y += flake.fall * scale;
            flake.x += (layer.wind * flake.fall + Math.sin(flake.phase) * 0.3) * scale;
            if (flake.y > layer.height + flake.size || flake.x < -20 || flake.x > layer.width + 20) Object.assign(flake, this.newFlake(layer, false));
          }
          this.draw(layer);
        }
      }
      requestAnimationFrame((next) => this.frame(next));
    },
  };
  P.each(".pelto-snowfall", (canvas) => {
    P.snowfall.add(canvas, {
      count: Math.round(Number(canvas.dataset.count) || 0),
      largest: Number(canvas.dataset.largest) || 0,
      colour: canvas.dataset.colour || "",
      wind: Number(canvas.dataset.wind) || 0,
    });
  });
  window.addEventListener("resize", () => {
    document.querySelectorAll(".pelto-snowfall").forEach((canvas) => P.snowfall.fit(canvas.id));
  });
})();
