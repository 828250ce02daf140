/* Shared by every copy on the page (pelto-lightbox.js). */
/* Picture Lightbox: one shared viewer, a modal dialog, for every copy; each copy names its own pictures. */
(function () {
  "use strict";
  var P = (window.Pelto = window.Pelto || {});
  if (P.lightbox) return;
  let viewer = null;
  let opener = null;

  function build() {
    viewer = document.createElement("dialog");
    viewer.className = "pelto-lb";
    viewer.setAttribute("aria-label", "Enlarged picture");
    const close = document.createElement("button");
    close.type = "button";
    close.className = "pelto-lb-close";
    close.setAttribute("aria-label", "Close");
    const img = document.createElement("img");
    img.alt = "";
    const caption = document.createElement("p");
    caption.className = "pelto-lb-caption";
    viewer.append(close, img, caption);
    document.body.appendChild(viewer);
    /* Any click but one on the caption closes; Escape closes by itself (a dialog's cancel). */
    viewer.addEventListener("click", function (event) {
      if (event.target !== caption) hide();
    });
    viewer.addEventListener("close", function () {
      if (opener && opener.isConnected) opener.focus();
    });
  }

  function show(pic, conf) {
    if (!viewer) build();
    opener = pic;
    const img = viewer.querySelector("img");
    const size = Math.min(100, Math.max(10, Number(conf.dataset.size) || 90));
    img.src = pic.currentSrc || pic.src;
    img.alt = pic.alt;
    img.style.maxWidth = size + "vw";
    img.style.maxHeight = size * 0.85 + "vh";
    const from = conf.dataset.caption;
    viewer.querySelector(".pelto-lb-caption").textContent = from === "alt" ? pic.alt : from === "title" ? pic.title : "";
    viewer.style.background = conf.dataset.backdrop || "";
    if (!viewer.open) viewer.showModal();
    viewer.querySelector(".pelto-lb-close").focus();
  }

  function hide() {
    if (!viewer || !viewer.open) return;
    viewer.close();
    if (opener && opener.isConnected) opener.focus();
  }

  function init() {
    document.querySelectorAll("[data-pelto-lightbox]").forEach(function (conf) {
      if (conf.dataset.peltoReady) return;
      conf.dataset.peltoReady = "1";
      const select = (conf.getAttribute("data-select") || "").trim() || "img";
      let pics;
      try {
        pics = document.querySelectorAll(select);
      } catch (err) {
        console.warn("Picture Lightbox: not a valid selector: " + select);
        return;
      }
      pics.forEach(function (pic) {
        /* A picture that is a link (or a button) already does something when clicked; the
           pictures of other effects are theirs. */
        if (pic.tagName !== "IMG" || pic.hasAttribute("data-pelto-lb") || pic.closest("a[href], button, [class*='pelto-']")) return;
        pic.setAttribute("data-pelto-lb", "");
        pic.tabIndex = 0;
        pic.setAttribute("role", "button");
        pic.setAttribute("aria-label", "Enlarge picture: " + (pic.alt || pic.title || "picture"));
        pic.addEventListener("click", function (event) {
          event.preventDefault();
          show(pic, conf);
        });
        /* Like a button: Enter opens on key down, Space on key up (so its key up cannot press
           the close button that has the focus by then). */
        pic.addEventListener("keydown", function (event) {
          if (event.key !== "Enter" && event.key !== " ") return;
          event.preventDefault();
          if (event.key === "Enter") show(pic, conf);
        });
        pic.addEventListener("keyup", function (event) {
          if (event.key === " ") show(pic, conf);
        });
      });
    });
  }

  P.lightbox = { init: init, show: show, hide: hide };
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", init);
  } else {
    init();
  }
})();
