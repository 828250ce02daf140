/* Shared by every copy on the page (pelto-quicklinks.js). */
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
  P.each(".pelto-quicklinks", function (el) { P.dress(el, "--pelto-quicklinks-"); }, true);
  // Shared by every bar of the page; each copy builds its own bar from its data block.
  P.quicklinks = P.quicklinks || {
    // Each data line reads: Menu1_2 = new Array("caption","link",children), with the caption
    // and the link written as script strings (quotes and "<" arrive as escapes).
    pattern: /^Menu([0-9_]+) = new Array\("((?:[^"\\]|\\.)*)","((?:[^"\\]|\\.)*)",\d+\)\s*$/,
    unescape(text) {
      const named = { n: "\n", r: "\r", t: "\t", b: "\b", f: "\f", v: "\v", 0: "\0" };
      return text.replace(/\\(?:x([0-9A-Fa-f]{2})|u([0-9A-Fa-f]{4})|([\s\S]))/g, (all, hex, code, other) =>
        hex || code ? String.fromCharCode(parseInt(hex || code, 16)) : other in named ? named[other] : other,
      );
    },
    start(nav) {
      if (!nav || nav.dataset.peltoReady) return;
      nav.dataset.peltoReady = "1";
      const data = nav.querySelector(".pelto-quicklinks-data");
      const lists = new Map();
      const top = document.createElement("ul");
      lists.set("", top);
      for (const line of (data ? data.textContent : "").split(/\r?\n/)) {
        const found = this.pattern.exec(line.trim());
        if (!found) continue;
        const path = found[1];
        const parentPath = path.includes("_") ? path.slice(0, path.lastIndexOf("_")) : "";
        const parent = lists.get(parentPath);
        if (!parent) continue;
        const item = document.createElement("li");
        const link = document.createElement("a");
        link.textContent = this.unescape(found[2]);
        link.setAttribute("href", this.unescape(found[3]) || "#");
        item.appendChild(link);
        parent.appendChild(item);
        const sub = document.createElement("ul");
        lists.set(path, sub);
        item.appendChild(sub);
      }
      for (const sub of lists.values()) {
        if (sub === top) continue;
        const item = sub.parentElement;
        if (!sub.children.length) {
          sub.remove();
          continue;
        }
        // The lists are plain lists of links, not menus: aria-expanded says whether one is open.
        item.classList.add("pelto-quicklinks-parent");
        item.firstElementChild.setAttribute("aria-expanded", "false");
      }
      if (data) data.remove();
      nav.appendChild(top);
      const parentLinks = () => nav.querySelectorAll(".pelto-quicklinks-parent > a");
      function sync() {
        for (const link of parentLinks()) {
          const item = link.parentElement;
          const open =
            item.classList.contains("pelto-quicklinks-open") ||
            (!item.classList.contains("pelto-quicklinks-closed") && (item.matches(":hover") || item.contains(document.activeElement)));
          link.setAttribute("aria-expanded", String(open));
        }
      }
      function closeTapped(except) {
        for (const item of nav.querySelectorAll(".pelto-quicklinks-open")) if (!item.contains(except)) item.classList.remove("pelto-quicklinks-open");
      }
      nav.addEventListener("focusin", sync);
      nav.addEventListener("focusout", () => setTimeout(sync));
      nav.addEventListener("pointerover", sync);
      nav.addEventListener("pointerleave", () => {
        for (const item of nav.querySelectorAll(".pelto-quicklinks-closed")) item.classList.remove("pelto-quicklinks-closed");
        setTimeout(sync);
      });
      // A first tap on a touch screen opens the list instead of following the link.
      nav.addEventListener("click", (event) => {
        const link = event.target.closest(".pelto-quicklinks-parent > a");
        if (!link || event.pointerType !== "touch") return;
        const item = link.parentElement;
        if (!item.classList.contains("pelto-quicklinks-open")) {
          event.preventDefault();
          closeTapped(item);
          item.classList.add("pelto-quicklinks-open");
          sync();
        }
      });
      // A tap anywhere else closes the lists a tap opened.
      document.addEventListener("pointerdown", (event) => {
        if (!nav.querySelector(".pelto-quicklinks-open")) return;
        closeTapped(event.target);
        setTimeout(sync);
      });
      nav.addEventListener("keydown", (event) => {
        const link = event.target.closest("a");
        if (!link) return;
        const item = link.parentElement;
        const list = item.parentElement;
        const siblings = [...list.children].map((entry) => entry.firstElementChild);
        const index = siblings.indexOf(link);
        const nested = list !== top;
        if (event.key === "Escape") {
          const owner = nested ? list.parentElement : item;
          owner.classList.remove("pelto-quicklinks-open");
          owner.classList.add("pelto-quicklinks-closed");
          owner.firstElementChild.focus();
          sync();
        } else if (event.key === "ArrowDown" && !nested && item.classList.contains("pelto-quicklinks-parent")) {
          item.classList.remove("pelto-quicklinks-closed");
          item.querySelector(":scope > ul a").focus();
        } else if ((event.key === "ArrowDown" || event.key === "ArrowUp") && nested) {
          const step = event.key === "ArrowDown" ? 1 : siblings.length - 1;
          siblings[(index + step) % siblings.length].focus();
        } else if ((event.key === "ArrowRight" || event.key === "ArrowLeft") && !nested) {
          const step = event.key === "ArrowRight" ? 1 : siblings.length - 1;
          siblings[(index + step) % siblings.length].focus();
        } else {
          return;
        }
        event.preventDefault();
      });
      nav.addEventListener("focusin", (event) => {
        const item = event.target.closest("li");
        if (item && !item.contains(event.relatedTarget)) item.classList.remove("pelto-quicklinks-closed");
      });
    },
  };
  P.each(".pelto-quicklinks", function (el) { P.quicklinks.start(el); });
})();
