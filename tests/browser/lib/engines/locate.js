// Runs in the page: the elements a locator chain stands for, in document order. A chain is a
// list of steps: { css } (a CSS selector, or "xpath=.." for the parent), { nth } (-1: the
// last), { hasText: { text } or { source, flags } }, { role, name, exact }.
export function locateScript(chain) {
  const inOrder = (set) => [...set].sort((a, b) => (a.compareDocumentPosition(b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1));
  const squash = (s) => (s || "").replace(/\s+/g, " ").trim();
  const hidden = (el) => {
    if (el.closest("[aria-hidden='true']")) return true;
    if (el.checkVisibility) return !el.checkVisibility({ visibilityProperty: true });
    return el.getClientRects().length === 0;
  };
  const textOf = (node) => {
    if (node.nodeType === Node.TEXT_NODE) return node.data;
    if (node.nodeType !== Node.ELEMENT_NODE) return "";
    if (node.tagName === "IMG") return node.getAttribute("alt") || "";
    if (["SCRIPT", "STYLE", "TEMPLATE"].includes(node.tagName)) return "";
    if (node.getAttribute("aria-hidden") === "true") return "";
    return [...node.childNodes].map(textOf).join("");
  };
  const nameOf = (el) => {
    const by = el.getAttribute("aria-labelledby");
    if (by) return squash(by.split(/\s+/).map((id) => (document.getElementById(id) ? textOf(document.getElementById(id)) : "")).join(" "));
    if (el.hasAttribute("aria-label")) return squash(el.getAttribute("aria-label"));
    if (el.tagName === "INPUT") return squash(el.type === "image" ? el.alt : el.value);
    return squash(textOf(el)) || squash(el.getAttribute("title"));
  };
  const IMPLICIT = {
    button: (el) => el.tagName === "BUTTON" || (el.tagName === "INPUT" && ["button", "submit", "reset", "image"].includes(el.type)),
    link: (el) => (el.tagName === "A" || el.tagName === "AREA") && el.hasAttribute("href"),
    heading: (el) => /^H[1-6]$/.test(el.tagName),
    dialog: (el) => el.tagName === "DIALOG",
    navigation: (el) => el.tagName === "NAV",
  };
  const hasRole = (el, role) => {
    const own = el.getAttribute("role");
    if (own) return own.trim().split(/\s+/)[0] === role;
    return IMPLICIT[role] ? IMPLICIT[role](el) : false;
  };
  let els = [document];
  for (const step of chain) {
    if (step.css === "xpath=..") {
      els = inOrder(new Set(els.map((e) => e.parentElement).filter(Boolean)));
    } else if (step.css !== undefined) {
      const found = new Set();
      for (const root of els) for (const el of root.querySelectorAll(step.css)) found.add(el);
      els = inOrder(found);
    } else if (step.nth !== undefined) {
      const el = step.nth < 0 ? els[els.length + step.nth] : els[step.nth];
      els = el ? [el] : [];
    } else if (step.hasText) {
      const re = step.hasText.source !== undefined ? new RegExp(step.hasText.source, step.hasText.flags) : null;
      els = els.filter((el) => {
        const text = squash(el.textContent);
        return re ? re.test(text) : text.toLowerCase().includes(squash(step.hasText.text).toLowerCase());
      });
    } else if (step.role) {
      const found = new Set();
      for (const root of els)
        for (const el of root.querySelectorAll("*")) {
          if (!hasRole(el, step.role) || hidden(el)) continue;
          if (step.name !== undefined) {
            const name = nameOf(el);
            if (step.name.source !== undefined ? !new RegExp(step.name.source, step.name.flags).test(name) : step.exact ? name !== step.name : !name.toLowerCase().includes(step.name.toLowerCase())) continue;
          }
          found.add(el);
        }
      els = inOrder(found);
    }
  }
  return els.filter((el) => el !== document);
}

// Roles whose elements the script above knows without a role attribute.
export const KNOWN_ROLES = ["button", "link", "heading", "dialog", "navigation"];
