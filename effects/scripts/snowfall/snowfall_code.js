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
  // Shared by every snow layer of the page: one button pauses them all. The flakes fall by CSS
  // animations of their transform alone, which the browser runs without the page's main thread.
  P.snowfall = P.snowfall || {
    layers: [],
    // Readers who ask for reduced motion start with the snow standing still.
    paused: matchMedia("(prefers-reduced-motion: reduce)").matches,
    button: null,
    add(layer, settings) {
      // The keyframes drift by a fixed share of the window's height: the wind's sign picks them.
      const wind = settings.wind > 0 ? 1 : settings.wind < 0 ? -1 : 0;
      layer.classList.add(wind > 0 ? "pelto-snowfall-to-right" : wind < 0 ? "pelto-snowfall-to-left" : "pelto-snowfall-still-air");
      layer.style.setProperty("--pelto-snowfall-colour", settings.colour);
      const count = Math.max(0, Math.min(1000, settings.count));
      for (let i = 0; i < count; i++) {
        const flake = document.createElement("span");
        flake.className = "pelto-snowfall-flake";
        layer.appendChild(flake);
      }
      const entry = { layer, wind, largest: Math.max(1, settings.largest) };
      this.layers.push(entry);
      this.place(entry);
      this.addButton();
      this.show();
    },
    // Each flake gets a size, a start across the window (upwind, so the whole window has snow),
    // the time of its fall (larger flakes fall faster) and a point in that fall to start from.
    // Starts are shares of the width and the fall is in shares of the height, so a resized
    // window keeps its snow without placing the flakes anew (which would make them jump).
    place(entry) {
      const width = Math.max(1, innerWidth);
      const height = Math.max(1, innerHeight);
      const drift = entry.wind * 0.6 * height;
      const from = -Math.max(drift, 0);
      const to = width - Math.min(drift, 0);
      for (const flake of entry.layer.children) {
        const size = 1 + Math.random() * (entry.largest - 1);
        const time = (height + 28) / ((0.4 + size * 0.18) * 60);
        flake.style.width = flake.style.height = size.toFixed(1) + "px";
        flake.style.left = (((from + Math.random() * (to - from)) / width) * 100).toFixed(2) + "%";
        flake.style.animationDuration = time.toFixed(2) + "s";
        flake.style.animationDelay = (-Math.random() * time).toFixed(2) + "s";
      }
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
      });
      this.button = button;
    },
    show() {
      for (const entry of this.layers) entry.layer.classList.toggle("pelto-snowfall-paused", this.paused);
      if (!this.button) return;
      this.button.setAttribute("aria-pressed", this.paused ? "true" : "false");
      this.button.setAttribute("aria-label", this.paused ? "Play the snow" : "Pause the snow");
    },
  };
  P.each(".pelto-snowfall", (layer) => {
    P.snowfall.add(layer, {
      count: Math.round(Number(layer.dataset.count) || 0),
      largest: Number(layer.dataset.largest) || 0,
      colour: layer.dataset.colour || "",
      wind: Number(layer.dataset.wind) || 0,
    });
  });
})();
