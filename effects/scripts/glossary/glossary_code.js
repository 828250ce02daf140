/* Shared by every copy on the page (pelto-glossary.js). */
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
  P.each(".pelto-glossary-tip", function (el) { P.dress(el, "--pelto-glossary-"); }, true);
  // Shared by every glossary of the page; once the whole text is there (the page's load event),
  // start() runs for each copy's data list, which names its tip and its terms' class.
  P.glossary = P.glossary || {
    // How long an explanation stays after the pointer leaves its word, so the pointer can reach it.
    grace: 400,
    // Text that is code, a control, hidden, or the glossary's own is left alone; the text of
    // other effects (a revealed paragraph, say) is page text like any other.
    skip: "script, style, textarea, select, button, code, pre, noscript, template, a, [hidden], [aria-hidden='true'], [contenteditable], .pelto-glossary-term, .pelto-glossary-data, .pelto-glossary-tip",
    start(dataId, tipId, termClass) {
      const data = document.getElementById(dataId);
      const tip = document.getElementById(tipId);
      if (!data || !tip || data.dataset.peltoReady) return;
      data.dataset.peltoReady = "1";
      const skip = this.skip;
      const entries = [];
      // Each entry is read from its attribute as typed ("word = explanation").
      for (const item of data.children) {
        const text = item.getAttribute("data-entry") || "";
        const split = text.indexOf("=");
        if (split < 1) continue;
        const word = text.slice(0, split).trim();
        const meaning = text.slice(split + 1).trim();
        if (word && meaning) entries.push({ word, meaning });
      }
      // Longer words first, so "raised beds" wins over a shorter entry "beds".
      entries.sort((x, y) => y.word.length - x.word.length);
      function wrapFirst(entry) {
        const escaped = entry.word.replace(/[.*+?^${}()|[\]\\]/g, "\\$&").replace(/\s+/g, "\\s+");
        const pattern = new RegExp("(^|[^\\p{L}\\p{N}])(" + escaped + ")(?![\\p{L}\\p{N}])", "iu");
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
          acceptNode: (node) => (node.parentElement.closest(skip) ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT),
        });
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
          const found = pattern.exec(node.data);
          if (!found) continue;
          const start = found.index + found[1].length;
          const rest = node.splitText(start);
          rest.splitText(found[2].length);
          const term = document.createElement("span");
          term.className = "pelto-glossary-term " + termClass;
          term.style.setProperty("--pelto-glossary-underline", data.getAttribute("data-underline") || "currentColor");
          term.tabIndex = 0;
          term.dataset.meaning = entry.meaning;
          rest.replaceWith(term);
          term.appendChild(rest);
          return;
        }
      }
      let current = null;
      let timer = 0;
      // The explanation is placed once, in page coordinates: scrolling carries it along.
      function show(term) {
        clearTimeout(timer);
        if (current === term) return;
        tip.textContent = term.dataset.meaning;
        tip.hidden = false;
        const box = term.getBoundingClientRect();
        const left = Math.min(box.left, document.documentElement.clientWidth - tip.offsetWidth - 4);
        tip.style.left = Math.max(4, left) + scrollX + "px";
        tip.style.top = box.bottom + 6 + scrollY + "px";
        if (current) current.removeAttribute("aria-describedby");
        term.setAttribute("aria-describedby", tip.id);
        current = term;
      }
      function hide() {
        clearTimeout(timer);
        if (current) current.removeAttribute("aria-describedby");
        current = null;
        tip.hidden = true;
      }
      const own = (event) => event.target.closest && event.target.closest("." + termClass);
      entries.forEach(wrapFirst);
      document.addEventListener("pointerover", (event) => {
        const term = own(event);
        if (term) show(term);
        else if (event.target.closest && event.target.closest(".pelto-glossary-tip")) clearTimeout(timer);
        else if (current && current !== document.activeElement) {
          clearTimeout(timer);
          timer = setTimeout(hide, P.glossary.grace);
        }
      });
      document.addEventListener("focusin", (event) => {
        const term = own(event);
        if (term) show(term);
        else hide();
      });
      document.addEventListener("keydown", (event) => {
        if (event.key === "Escape") hide();
      });
      // A tap (or click) anywhere but on a word or its explanation closes the explanation.
      document.addEventListener("pointerdown", (event) => {
        if (current && !own(event) && !(event.target.closest && event.target.closest(".pelto-glossary-tip"))) hide();
      });
      // A new layout may move the word: the explanation goes and comes back on the next hover.
      addEventListener("resize", hide, { passive: true });
    },
  };
  window.addEventListener("load", () => {
    document.querySelectorAll(".pelto-glossary-data").forEach((data) => P.glossary.start(data.id, data.dataset.tip, data.dataset.term));
  });
})();
