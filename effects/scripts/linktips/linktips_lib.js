// Tooltips for links that carry a title and a text in data attributes.
// Shared by every copy of the effect on a page; each copy calls attach() with its own names.
(() => {
  "use strict";
  const P = (window.Pelto = window.Pelto || {});
  if (P.linktips) return;
  // How long a tooltip stays after the pointer leaves its link, so the pointer can reach it.
  const GRACE = 400;
  function attach({ tip, titleAttribute, textAttribute, delay, gap }) {
    if (!tip) return;
    const selector = "[" + titleAttribute + "]";
    let timer = 0;
    let current = null;
    function hide() {
      clearTimeout(timer);
      if (!current) return;
      current.removeAttribute("aria-describedby");
      current = null;
      tip.classList.remove("pelto-linktips-shown");
      tip.hidden = true;
    }
    // The tooltip is placed once, in page coordinates, so scrolling carries it along with its
    // link and nothing is measured again while the page scrolls.
    function show(link) {
      const title = (link.getAttribute(titleAttribute) || "").trim();
      const text = (link.getAttribute(textAttribute) || "").trim();
      if (!title && !text) return;
      tip.replaceChildren();
      if (title) tip.appendChild(document.createElement("strong")).textContent = title;
      if (text) tip.appendChild(document.createElement("span")).textContent = text;
      tip.hidden = false;
      const box = link.getBoundingClientRect();
      const left = Math.min(box.left, document.documentElement.clientWidth - tip.offsetWidth - 4);
      tip.style.left = Math.max(4, left) + scrollX + "px";
      tip.style.top = box.bottom + gap + scrollY + "px";
      current = link;
      if (text) link.setAttribute("aria-describedby", tip.id);
      requestAnimationFrame(() => tip.classList.add("pelto-linktips-shown"));
    }
    function later(action, wait) {
      clearTimeout(timer);
      timer = setTimeout(action, wait);
    }
    // The pointer may move from the link onto the tooltip and rest there.
    document.addEventListener("pointerover", (event) => {
      if (event.target.closest(".pelto-linktips")) {
        clearTimeout(timer);
        return;
      }
      const link = event.target.closest(selector);
      if (link && link === current) clearTimeout(timer);
      else if (link) later(() => show(link), delay);
      else if (current && current !== document.activeElement) later(hide, GRACE);
      else clearTimeout(timer);
    });
    document.addEventListener("focusin", (event) => {
      const link = event.target.closest(selector);
      if (link) later(() => show(link), 0);
      else hide();
    });
    document.addEventListener("focusout", (event) => {
      if (event.target === current) hide();
    });
    document.addEventListener("keydown", (event) => {
      if (event.key === "Escape") hide();
    });
    // A tap (or click) anywhere but on the link or its tooltip closes the tooltip.
    document.addEventListener("pointerdown", (event) => {
      if (current && !current.contains(event.target) && !event.target.closest(".pelto-linktips")) hide();
    });
    // A new layout may move the link: the tooltip goes and comes back on the next hover.
    addEventListener("resize", hide, { passive: true });
  }
  P.linktips = { attach };
})();
