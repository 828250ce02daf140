/* Shared by every copy on the page (pelto-sidemenu.js). */
/* Responsive Menu Button: one resize listener calls layoutAll, so each bar folds at its own width. */
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
  P.each(".pelto-sm", function (el) { P.dress(el, "--pelto-sm-"); }, true);
  if (P.sidemenu) return;

  function parts(nav) {
    return { button: nav.querySelector(".pelto-sm-toggle"), panel: nav.querySelector(".pelto-sm-panel") };
  }

  function setOpen(nav, open) {
    const p = parts(nav);
    p.button.setAttribute("aria-expanded", open ? "true" : "false");
    p.panel.hidden = !open;
    /* An open menu lies above every other bar, also above a second copy of this one. */
    nav.classList.toggle("pelto-sm-open", open);
  }

  function layout(nav) {
    const p = parts(nav);
    const narrow = window.innerWidth < (Number(nav.dataset.fold) || 800);
    if (nav.classList.contains("pelto-sm-narrow") === narrow && nav.dataset.peltoLaidOut) return;
    nav.dataset.peltoLaidOut = "1";
    nav.classList.toggle("pelto-sm-narrow", narrow);
    p.button.hidden = !narrow;
    /* A change of mode always leaves the folded menu closed and the row of links open. */
    if (narrow) {
      setOpen(nav, false);
    } else {
      p.panel.hidden = false;
      nav.classList.remove("pelto-sm-open");
    }
  }

  function build(nav) {
    if (nav.dataset.peltoReady) return;
    nav.dataset.peltoReady = "1";
    const p = parts(nav);
    if (!p.button || !p.panel) return;
    /* Entries read "caption|address", as typed, from data-entry. */
    p.panel.querySelectorAll("li").forEach(function (li) {
      const text = li.hasAttribute("data-entry") ? li.getAttribute("data-entry") : li.textContent;
      const bar = text.lastIndexOf("|");
      const link = document.createElement("a");
      link.textContent = (bar >= 0 ? text.slice(0, bar) : text).trim();
      link.setAttribute("href", (bar >= 0 ? text.slice(bar + 1).trim() : "") || "#");
      li.textContent = "";
      li.appendChild(link);
    });
    p.button.addEventListener("click", function () {
      setOpen(nav, p.panel.hidden);
      if (!p.panel.hidden) {
        const first = p.panel.querySelector("a");
        if (first) first.focus();
      }
    });
    nav.addEventListener("keydown", function (event) {
      if (event.key === "Escape" && nav.classList.contains("pelto-sm-narrow") && !p.panel.hidden) {
        setOpen(nav, false);
        p.button.focus();
      }
    });
    /* The folded menu never lies over the focus: it closes as soon as the focus leaves it. */
    nav.addEventListener("focusout", function (event) {
      if (nav.classList.contains("pelto-sm-open") && event.relatedTarget && !nav.contains(event.relatedTarget)) setOpen(nav, false);
    });
    document.addEventListener("click", function (event) {
      if (nav.classList.contains("pelto-sm-open") && !nav.contains(event.target)) setOpen(nav, false);
    });
    p.panel.addEventListener("click", function (event) {
      if (event.target.closest("a") && nav.classList.contains("pelto-sm-narrow")) setOpen(nav, false);
    });
    layout(nav);
  }

  function layoutAll() {
    document.querySelectorAll("[data-pelto-sidemenu]").forEach(function (nav) {
      if (nav.dataset.peltoReady) layout(nav);
    });
  }

  function buildAll() {
    document.querySelectorAll("[data-pelto-sidemenu]").forEach(build);
  }

  P.sidemenu = { build: build, buildAll: buildAll, layoutAll: layoutAll };
  window.addEventListener("resize", layoutAll);
  /* Each menu is built as soon as the parser has it whole, before the page below it is painted,
     so its links never push the page down once it shows. */
  P.each("[data-pelto-sidemenu]", build);
})();
