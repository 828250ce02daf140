// Tooltips for links that carry a title and a text in data attributes.
// Shared by every copy of the effect on a page; each copy calls attach() with its own names.
(() => {
  "use strict";
  if (window.peltoLinkTips) return;
  function attach({ tip, titleAttribute, textAttribute, delay, gap }) {
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
    function later(link, wait) {
      clearTimeout(timer);
      timer = setTimeout(() => show(link), wait);
    }
    document.addEventListener("pointerover", (event) => {
      const link = event.target.closest(selector);
      if (link && link !== current) later(link, delay);
      else if (!link) hide();
    });
    document.addEventListener("focusin", (event) => {
      const link = event.target.closest(selector);
      if (link) later(link, 0);
      else hide();
    });
    document.addEventListener("focusout", hide);
    document.addEventListener("keydown", (event) => {
      if (event.key === "Escape") hide();
    });
    addEventListener("scroll", () => current && show(current), { passive: true });
  }
  window.peltoLinkTips = { attach };
})();
