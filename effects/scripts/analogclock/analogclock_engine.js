/* Analog Clock, shared by every clock of the page (pelto-analogclock.js). */
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
  // Shared by every clock of the page; each copy starts its own element.
  P.analogclock = P.analogclock || {
    start(holder) {
      if (!holder || holder.dataset.peltoReady) return;
      holder.dataset.peltoReady = "1";
      const ns = "http://www.w3.org/2000/svg";
      // Readers who ask for reduced motion get no second hand; the other hands step once a minute.
      const still = matchMedia("(prefers-reduced-motion: reduce)").matches;
      const { face, ink, second: red } = holder.dataset;
      const withNumbers = holder.dataset.marks === "numbers";
      function make(name, attributes, parent) {
        const node = document.createElementNS(ns, name);
        for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
        parent.appendChild(node);
        return node;
      }
      const svg = make("svg", { viewBox: "-100 -100 200 200", "aria-hidden": "true" }, holder);
      make("circle", { r: 96, fill: face, stroke: ink, "stroke-width": 4 }, svg);
      for (let hour = 1; hour <= 12; hour++) {
        const angle = (hour * Math.PI) / 6;
        if (withNumbers) {
          const label = make("text", {
            x: (74 * Math.sin(angle)).toFixed(1),
            y: (-74 * Math.cos(angle) + 7).toFixed(1),
            "text-anchor": "middle",
            "font-size": 20,
            "font-family": "sans-serif",
            fill: ink,
          }, svg);
          label.textContent = String(hour);
        } else {
          make("line", {
            x1: (80 * Math.sin(angle)).toFixed(1),
            y1: (-80 * Math.cos(angle)).toFixed(1),
            x2: (90 * Math.sin(angle)).toFixed(1),
            y2: (-90 * Math.cos(angle)).toFixed(1),
            stroke: ink,
            "stroke-width": hour % 3 === 0 ? 6 : 3,
          }, svg);
        }
      }
      const hourHand = make("line", { y1: 10, y2: -48, stroke: ink, "stroke-width": 7, "stroke-linecap": "round" }, svg);
      const minuteHand = make("line", { y1: 12, y2: -70, stroke: ink, "stroke-width": 4, "stroke-linecap": "round" }, svg);
      const secondHand = still ? null : make("line", { y1: 16, y2: -80, stroke: red, "stroke-width": 2, class: "pelto-analogclock-second" }, svg);
      make("circle", { r: 5, fill: still ? ink : red }, svg);
      const spoken = new Intl.DateTimeFormat(undefined, { hour: "numeric", minute: "2-digit" });
      let timer = 0;
      function draw() {
        const now = new Date();
        const seconds = still ? 0 : now.getSeconds();
        const minutes = now.getMinutes() + seconds / 60;
        const hours = (now.getHours() % 12) + minutes / 60;
        hourHand.setAttribute("transform", "rotate(" + (hours * 30).toFixed(2) + ")");
        minuteHand.setAttribute("transform", "rotate(" + (minutes * 6).toFixed(2) + ")");
        if (secondHand) secondHand.setAttribute("transform", "rotate(" + seconds * 6 + ")");
        holder.setAttribute("aria-label", "Clock showing " + spoken.format(now));
      }
      function tick() {
        draw();
        const step = still ? 60000 : 1000;
        timer = setTimeout(tick, step - (Date.now() % step));
      }
      document.addEventListener("visibilitychange", () => {
        clearTimeout(timer);
        timer = 0;
        if (document.visibilityState !== "hidden") tick();
      });
      draw();
      if (document.visibilityState !== "hidden") tick();
    },
  };
  P.each(".pelto-analogclock", function (holder) { P.dress(holder, "--pelto-ac-"); }, true);
  P.each(".pelto-analogclock", function (holder) { P.analogclock.start(holder); });
})();
