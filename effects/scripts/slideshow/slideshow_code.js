/* Shared by every copy on the page (pelto-slideshow.js). */
/* Image Slideshow: one timer per show, running only while the show may move on. */
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
  P.each(".pelto-ss", function (el) { P.dress(el, "--pelto-ss-"); }, true);
  if (P.slideshow) return;
  const still = window.matchMedia("(prefers-reduced-motion: reduce)");
  const TICK = 250;

  function start(box) {
    if (box.dataset.peltoReady) return;
    box.dataset.peltoReady = "1";
    const slides = Array.from(box.querySelectorAll(".pelto-ss-slide"));
    const controls = box.querySelector(".pelto-ss-controls");
    if (slides.length === 0 || !controls) return;
    const dots = controls.querySelector(".pelto-ss-dots");
    const play = controls.querySelector(".pelto-ss-play");
    const fade = box.classList.contains("pelto-ss-by-instant") || still.matches ? 0 : 600;
    let current = -1;
    let held = false;
    let seen = true;
    /* Readers who ask for less motion start with a still show and may press play. */
    let stopped = still.matches;
    let waited = 0;
    let timer = 0;
    let leaving = null;

    slides.forEach(function (slide, i) {
      const dot = document.createElement("button");
      dot.type = "button";
      dot.setAttribute("aria-label", "Picture " + (i + 1));
      dot.addEventListener("click", function () { go(i); });
      dots.appendChild(dot);
    });

    /* The old picture goes once the new one has fully come in: at the end of its transition,
       or after a generous while if no transition runs. A busy page may start the transition
       late, and the end of an earlier transition of the same picture (its fading out, finished
       just before it was chosen again) may arrive after it: the old picture stays until the new
       one is whole, looked at again a few times, then goes. */
    function whole(el) {
      const cs = getComputedStyle(el);
      return Number(cs.opacity) >= 0.99 && (cs.transform === "none" || cs.transform === "matrix(1, 0, 0, 1, 0, 0)");
    }
    function release(gone, incoming) {
      let timer = 0;
      let looks = 0;
      function done(event) {
        if (event && (event.target !== incoming || slides[current] !== incoming)) return;
        if (slides[current] === incoming && !whole(incoming) && looks < 10) {
          if (!event) {
            looks += 1;
            timer = setTimeout(done, fade);
          }
          return;
        }
        incoming.removeEventListener("transitionend", done);
        clearTimeout(timer);
        gone.classList.remove("pelto-ss-leaving");
        if (leaving === gone) leaving = null;
      }
      incoming.addEventListener("transitionend", done);
      timer = setTimeout(done, fade * 3);
    }

    function go(index) {
      const next = (index + slides.length) % slides.length;
      if (next === current) return;
      if (leaving) leaving.classList.remove("pelto-ss-leaving");
      leaving = current >= 0 && fade ? slides[current] : null;
      if (leaving) {
        leaving.classList.add("pelto-ss-leaving");
        release(leaving, slides[next]);
      }
      current = next;
      waited = 0;
      slides.forEach(function (slide, i) {
        slide.classList.toggle("pelto-ss-current", i === current);
        slide.classList.toggle("pelto-ss-before", current > i);
        slide.setAttribute("aria-hidden", i === current ? "false" : "true");
      });
      Array.from(dots.children).forEach(function (dot, i) {
        dot.setAttribute("aria-current", i === current ? "true" : "false");
      });
      box.dataset.current = String(current);
    }

    const time = Math.max(1, Number(box.dataset.time) || 4) * 1000;
    function tick() {
      waited += TICK;
      if (waited >= time) go(current + 1);
    }
    function update() {
      const run = !held && !stopped && seen && document.visibilityState !== "hidden";
      if (run && !timer) timer = setInterval(tick, TICK);
      else if (!run && timer) {
        clearInterval(timer);
        timer = 0;
      }
    }
    function showPlay() {
      play.setAttribute("aria-pressed", stopped ? "true" : "false");
      play.setAttribute("aria-label", stopped ? "Play the show" : "Pause the show");
    }

    controls.querySelector(".pelto-ss-prev").addEventListener("click", function () { go(current - 1); });
    controls.querySelector(".pelto-ss-next").addEventListener("click", function () { go(current + 1); });
    play.addEventListener("click", function () {
      stopped = !stopped;
      showPlay();
      update();
    });
    box.addEventListener("keydown", function (event) {
      if (event.key === "ArrowRight") go(current + 1);
      else if (event.key === "ArrowLeft") go(current - 1);
      else return;
      event.preventDefault();
    });
    box.addEventListener("mouseenter", function () { held = true; update(); });
    box.addEventListener("mouseleave", function () { held = false; update(); });
    box.addEventListener("focusin", function () { held = true; update(); });
    box.addEventListener("focusout", function (event) {
      if (!box.contains(event.relatedTarget)) { held = false; update(); }
    });
    document.addEventListener("visibilitychange", update);
    if (window.IntersectionObserver) {
      new IntersectionObserver(function (entries) {
        seen = entries[entries.length - 1].isIntersecting;
        update();
      }).observe(box);
    }

    box.classList.add("pelto-ss-on");
    controls.hidden = false;
    showPlay();
    go(0);
    update();
  }

  function startAll() {
    document.querySelectorAll("[data-pelto-slideshow]").forEach(start);
  }

  P.slideshow = { start: start, startAll: startAll };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", startAll);
  } else {
    startAll();
  }
})();
