/* Shared by every copy on the page (pelto-countdown.js). */
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
  P.each(".pelto-countdown", function (el) { P.dress(el, "--pelto-cd-"); }, true);
  // Shared by every countdown of the page; each copy starts its own element.
  P.countdown = P.countdown || {
    start(box) {
      if (!box || box.dataset.peltoReady) return;
      box.dataset.peltoReady = "1";
      const heading = box.querySelector(".pelto-countdown-heading");
      if (!heading.textContent.trim()) heading.remove();
      const parts = box.querySelector(".pelto-countdown-parts");
      // "2035-01-01 00:00" is read as local time; a "T" between date and time works too.
      const text = (box.dataset.target || "").trim().replace(" ", "T");
      const target = new Date(/T/.test(text) ? text : text + "T00:00").getTime();
      const units = [["days", 86400], ["hours", 3600], ["minutes", 60], ["seconds", 1]];
      const cells = units.map(([name]) => {
        const cell = document.createElement("span");
        cell.className = "pelto-countdown-part";
        const number = document.createElement("b");
        const label = document.createElement("small");
        label.textContent = name;
        cell.append(number, label);
        parts.appendChild(cell);
        return number;
      });
      let timer = 0;
      // A date that cannot be read shows the message at once, under the heading, and says why
      // in the console.
      const readable = !Number.isNaN(target);
      if (!readable) console.warn("Countdown Timer: the target date \"" + text + "\" cannot be read; write it as 2035-01-01 00:00.");
      function finish() {
        // Once the moment has come the heading ("Time left until ...") no longer applies.
        if (readable) heading.remove();
        const done = document.createElement("span");
        done.className = "pelto-countdown-done";
        done.dir = "auto";
        done.textContent = box.dataset.done || "";
        parts.replaceWith(done);
      }
      function tick() {
        let left = Math.floor((target - Date.now()) / 1000);
        if (!(left > 0)) {
          finish();
          return false;
        }
        units.forEach(([, size], i) => {
          const value = Math.floor(left / size);
          left -= value * size;
          cells[i].textContent = i === 0 ? String(value) : String(value).padStart(2, "0");
        });
        return true;
      }
      function run() {
        if (tick()) timer = setTimeout(run, 1000 - (Date.now() % 1000));
      }
      document.addEventListener("visibilitychange", () => {
        clearTimeout(timer);
        timer = 0;
        if (document.visibilityState !== "hidden" && parts.isConnected) run();
      });
      if (!tick()) return;
      if (document.visibilityState !== "hidden") run();
    },
  };
  P.each(".pelto-countdown", function (el) { P.countdown.start(el); });
})();
