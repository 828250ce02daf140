/* Shared by every copy on the page (pelto-dropmenu.js). */
/* Drop-down Menu Bar: builds each bar from its menu data lines and opens lists on hover and focus. */
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
  P.each(".pelto-dm", function (el) { P.dress(el, "--pelto-dm-"); }, true);
  if (P.dropmenu) return;
  /* A data line: Menu1_2 = new Array("caption","link",n); both texts are string literals. */
  const STRING = '"((?:[^"\\\\]|\\\\.)*)"';
  const LINE = new RegExp("^\\s*(Menu[0-9_]+)\\s*=\\s*new Array\\(" + STRING + "\\s*,\\s*" + STRING + "\\s*,\\s*(\\d+)\\s*\\);?\\s*$");

  /* Undoes the escapes of a string literal, so the caption reads exactly as typed. */
  function unescape(text) {
    return text.replace(/\\(u[0-9A-Fa-f]{4}|x[0-9A-Fa-f]{2}|[\s\S])/g, function (all, e) {
      if (e[0] === "u" || e[0] === "x") return e.length > 1 ? String.fromCharCode(parseInt(e.slice(1), 16)) : e;
      return { n: "\n", r: "\r", t: "\t", b: "\b", f: "\f", v: "\v", 0: "\0" }[e] || e;
    });
  }

  /* Turns the data lines into a tree; a name like Menu2_1 hangs below Menu2. */
  function parse(text) {
    const root = { children: [] };
    const byName = { Menu: root };
    text.split(/\r?\n/).forEach(function (line) {
      const m = LINE.exec(line);
      if (!m) return;
      const node = { caption: unescape(m[2]), link: unescape(m[3]), children: [] };
      const name = m[1];
      const parentName = name.lastIndexOf("_") > 0 ? name.slice(0, name.lastIndexOf("_")) : "Menu";
      const parent = byName[parentName] || root;
      byName[name] = node;
      parent.children.push(node);
    });
    return root;
  }

  function list(nodes, nav) {
    const ul = document.createElement("ul");
    nodes.forEach(function (node) {
      const li = document.createElement("li");
      const link = document.createElement("a");
      link.textContent = node.caption;
      link.setAttribute("href", node.link || "#");
      li.appendChild(link);
      if (node.children.length) {
        li.classList.add("pelto-dm-parent");
        /* A list of links, not an application menu: the entry tells only whether it is open. */
        link.setAttribute("aria-expanded", "false");
        li.appendChild(list(node.children, nav));
        hook(li, link, nav);
      }
      ul.appendChild(li);
    });
    return ul;
  }

  function setOpen(li, link, open) {
    li.classList.toggle("pelto-dm-open", open);
    link.setAttribute("aria-expanded", open ? "true" : "false");
  }

  function hook(li, link, nav) {
    let timer = 0;
    const delay = Math.max(0, Number(nav.dataset.delay) || 0);
    li.addEventListener("mouseenter", function () {
      clearTimeout(timer);
      setOpen(li, link, true);
    });
    li.addEventListener("mouseleave", function () {
      clearTimeout(timer);
      timer = setTimeout(function () {
        if (!li.contains(document.activeElement)) setOpen(li, link, false);
      }, delay);
    });
    link.addEventListener("focus", function () { setOpen(li, link, true); });
    /* A finger has no hover: the first tap on an entry with a list opens the list, a second tap
       (the list open when the finger came down) follows the entry's link. */
    let tapOpens = false;
    link.addEventListener("pointerdown", function (event) {
      tapOpens = event.pointerType !== "mouse" && !li.classList.contains("pelto-dm-open");
    });
    link.addEventListener("click", function (event) {
      if (tapOpens) {
        event.preventDefault();
        setOpen(li, link, true);
      }
      tapOpens = false;
    });
    li.addEventListener("focusout", function (event) {
      if (!li.contains(event.relatedTarget)) setOpen(li, link, false);
    });
  }

  function build(nav) {
    if (nav.dataset.peltoReady) return;
    nav.dataset.peltoReady = "1";
    const data = nav.querySelector(".pelto-dm-data");
    if (!data) return;
    const tree = parse(data.textContent);
    nav.appendChild(list(tree.children, nav));
    /* A tap outside the bar closes its open lists. */
    document.addEventListener("pointerdown", function (event) {
      if (nav.contains(event.target)) return;
      nav.querySelectorAll(".pelto-dm-open").forEach(function (li) { setOpen(li, li.querySelector("a"), false); });
    });
    /* Escape closes the innermost open list and returns to its entry. */
    nav.addEventListener("keydown", function (event) {
      if (event.key !== "Escape") return;
      const item = event.target.closest("li");
      if (!item) return;
      const li = item.classList.contains("pelto-dm-open") ? item : item.parentElement.closest(".pelto-dm-parent");
      if (!li) return;
      const link = li.querySelector("a");
      link.focus();
      setOpen(li, link, false);
    });
  }

  function buildAll() {
    document.querySelectorAll("[data-pelto-dropmenu]").forEach(build);
  }

  P.dropmenu = { build: build, buildAll: buildAll };
  /* Each bar is built as soon as the parser has it whole, before the page below it is painted. */
  P.each("[data-pelto-dropmenu]", build);
})();
