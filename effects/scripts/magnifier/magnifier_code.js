/* Shared by every copy on the page (pelto-magnifier.js). */
/* Image Magnifier: the shared mouse handler hands every movement to follow; the lens is drawn at
   most once per animation frame, for the last movement. */
(function () {
  "use strict";
  var P = (window.Pelto = window.Pelto || {});
  if (P.magnifier) return;
  let lenses = null;
  let owner = new WeakMap();
  let last = null;
  let queued = false;

  /* The lenses of the page, read once and again only when a copy was added. */
  function allLenses() {
    const now = document.querySelectorAll("[data-pelto-magnifier]");
    if (!lenses || lenses.length !== now.length) {
      lenses = Array.from(now);
      owner = new WeakMap();
      lenses.forEach(function (lens) { lens.style.borderColor = lens.dataset.frame || "#FFFFFF"; });
    }
    return lenses;
  }

  /* The lens of the first copy whose selector names the picture, remembered per picture. */
  function lensFor(target) {
    if (!target || target.tagName !== "IMG") return null;
    const all = allLenses();
    if (owner.has(target)) return owner.get(target);
    let found = null;
    for (const lens of all) {
      try {
        if (target.matches(lens.dataset.select || "img")) { found = lens; break; }
      } catch (err) {
        /* A selector the browser cannot read names no picture. */
      }
    }
    owner.set(target, found);
    return found;
  }

  function hideAll(except) {
    (lenses || allLenses()).forEach(function (lens) {
      if (lens !== except && !lens.hidden) lens.hidden = true;
    });
  }

  function draw() {
    queued = false;
    if (!last) return;
    const img = last.target;
    const lens = lensFor(img);
    hideAll(lens);
    if (!lens) return;
    const box = img.getBoundingClientRect();
    const x = last.x - box.left;
    const y = last.y - box.top;
    if (x < 0 || y < 0 || x > box.width || y > box.height) {
      lens.hidden = true;
      return;
    }
    const zoom = Math.max(1, Number(lens.dataset.zoom) || 2);
    const size = Math.max(20, Number(lens.dataset.size) || 150);
    lens.style.width = size + "px";
    lens.style.height = size + "px";
    /* Centred on the pointer, frame (3px) included; above a finger, which would hide it. */
    lens.style.left = last.x - size / 2 - 3 + "px";
    lens.style.top = last.y - size / 2 - 3 - (last.touch ? size / 2 + 24 : 0) + "px";
    lens.style.backgroundImage = 'url("' + (img.currentSrc || img.src).replace(/"/g, "%22") + '")';
    lens.style.backgroundSize = box.width * zoom + "px " + box.height * zoom + "px";
    lens.style.backgroundPosition = size / 2 - x * zoom + "px " + (size / 2 - y * zoom) + "px";
    lens.hidden = false;
  }

  /* When a finger was last lifted; none yet. (Zero would drop the first 800 ms of a page's
     mouse movements, performance.now() counting from the page's start.) */
  let lifted = -Infinity;
  function follow(event) {
    const touch = event.pointerType === "touch" || event.pointerType === "pen";
    /* The mouse events a browser makes up after a tap would bring the lens back. */
    if (!touch && performance.now() - lifted < 800) return;
    last = { target: event.target, x: event.clientX, y: event.clientY, touch: touch };
    if (queued) return;
    queued = true;
    window.requestAnimationFrame(draw);
  }

  /* The pointer left the window: not every browser fires mouseleave on the document. */
  function gone() {
    last = null;
    hideAll(null);
  }
  document.addEventListener("mouseout", function (event) {
    if (!event.relatedTarget) gone();
  });
  document.documentElement.addEventListener("mouseleave", gone);
  window.addEventListener("blur", gone);
  window.addEventListener("scroll", gone, { passive: true });
  /* A finger has no hover: the lens shows while the finger is down on a picture and follows it
     until it is lifted (or the browser takes the gesture over to scroll). */
  let finger = null;
  document.addEventListener("pointerdown", function (event) {
    if (event.pointerType === "mouse" || !lensFor(event.target)) return;
    finger = event.target;
    follow(event);
  });
  document.addEventListener("pointermove", function (event) {
    if (event.pointerType === "mouse" || !finger) return;
    follow({ target: finger, clientX: event.clientX, clientY: event.clientY, pointerType: event.pointerType });
  });
  function up(event) {
    if (event.pointerType === "mouse" || !finger) return;
    finger = null;
    lifted = performance.now();
    gone();
  }
  document.addEventListener("pointerup", up);
  document.addEventListener("pointercancel", up);
  P.magnifier = { follow: follow };
  document.addEventListener("mousemove", (event) => P.magnifier.follow(event));
})();
