// The page object the effect checks (checks/<ScriptId>.js) are given in an engine of
// index.js: the part of playwright-core's Page that the engines offer alike.
//   page: evaluate, $eval, $$eval, evaluateHandle, addStyleTag({ content }), waitForFunction,
//     waitForTimeout, mouse.move, mouse.click, keyboard.press, viewportSize, setViewportSize,
//     url, reload, locator, getByRole;
//   locator: first, last, nth, filter({ hasText }), locator, getByRole, count, all,
//     allTextContents, textContent, getAttribute, isVisible, boundingBox, evaluate,
//     evaluateAll, elementHandle, scrollIntoViewIfNeeded, dispatchEvent, focus, blur, hover,
//     click, waitFor;
//   handle: evaluate, asElement, dispose; a handle may be the argument of an evaluate.
// Actions on a locator wait for one element (more than one is an error, as in strict mode),
// visible, still for two frames and not covered at its middle, scroll it into view and act there
// with the mouse. A mouse point outside the window is taken to its edge in the WebDriver
// engines, which cannot leave it.
//
// Anything else (emulateMedia, touch, a second context ...) throws NotOffered and is noted in
// `usedNotOffered`, so the runner can tell a check that could not run on in the engine from a
// check that failed, even when the check catches the error itself.
import { locateScript, KNOWN_ROLES } from "./locate.js";

export class NotOffered extends Error {
  constructor(what) {
    super(`${what} is not offered in this engine`);
    this.name = "NotOffered";
  }
}

const DEFAULT_TIMEOUT_MS = 30000;
const POLL_MS = 100;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// A handle given as an argument stands for the value it keeps in the page.
const handleIndex = new WeakMap();
const literal = (v) => (v === undefined ? "undefined" : v !== null && typeof v === "object" && handleIndex.has(v) ? `window.__peltoHandles[${handleIndex.get(v)}]` : JSON.stringify(v));
// A call of a function (or the text of an expression) with arguments, as one expression.
function callText(fn, args) {
  if (typeof fn === "string") return `(${fn})`;
  if (typeof fn !== "function") throw new Error("evaluate needs a function or an expression");
  return `(${fn.toString()})(${args.map(literal).join(", ")})`;
}
const pattern = (p) => (p instanceof RegExp ? { source: p.source, flags: p.flags } : p);

// Throws NotOffered for every member that `members` does not hold.
function guarded(label, members, note) {
  return new Proxy(members, {
    get(target, prop) {
      if (typeof prop === "symbol" || prop === "then" || prop === "toJSON") return target[prop];
      if (prop in target) return target[prop];
      note(`${label}.${prop}`);
      throw new NotOffered(`${label}.${prop}`);
    },
  });
}

export function checkPage(tab, viewport, engineName) {
  const used = [];
  const note = (what) => {
    if (!used.includes(what)) used.push(what);
  };
  let size = { ...viewport };
  const evaluate = (fn, ...args) => tab.evaluate(callText(fn, args));
  const inPage = (chain, body, arg) => tab.evaluate(`((chain, arg) => { const els = (${locateScript.toString()})(chain); return (${body})(els, arg); })(${literal(chain)}, ${literal(arg)})`);

  async function poll(what, timeout, attempt) {
    const until = Date.now() + timeout;
    let last = "";
    for (;;) {
      const r = await attempt();
      if (r.done) return r.value;
      last = r.why || last;
      if (Date.now() >= until) throw new Error(`${what}: timeout ${timeout}ms exceeded${last ? ` (${last})` : ""}`);
      await sleep(POLL_MS);
    }
  }

  const one = (chain, label, timeout, body, arg) =>
    poll(label, timeout, async () => {
      const r = await inPage(
        chain,
        `async (els, arg) => {
          if (els.length === 0) return { why: "no element matches" };
          if (els.length > 1) return { strict: els.length };
          return { done: true, value: await (${body})(els[0], arg) };
        }`,
        arg,
      );
      if (r.strict) throw new Error(`${label}: strict mode violation: the locator matches ${r.strict} elements`);
      return r;
    });

  // Waits until the element can take the pointer at its middle and returns that point.
  const target = (chain, label, timeout) =>
    poll(label, timeout, async () => {
      const r = await inPage(
        chain,
        `async (els) => {
          if (els.length === 0) return { why: "no element matches" };
          if (els.length > 1) return { strict: els.length };
          const el = els[0];
          const box = () => el.getBoundingClientRect();
          let b = box();
          if (b.width === 0 || b.height === 0 || getComputedStyle(el).visibility === "hidden") return { why: "the element is not visible" };
          if (b.bottom <= 0 || b.right <= 0 || b.top >= innerHeight || b.left >= innerWidth) { el.scrollIntoView({ block: "center", inline: "center" }); b = box(); }
          await new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
          const c = box();
          if (c.x !== b.x || c.y !== b.y || c.width !== b.width || c.height !== b.height) return { why: "the element is moving" };
          if (el.disabled) return { why: "the element is disabled" };
          const x = c.x + c.width / 2, y = c.y + c.height / 2;
          const hit = document.elementFromPoint(x, y);
          if (!hit || !(hit === el || el.contains(hit))) return { why: "another element is at its middle: " + (hit ? hit.outerHTML.slice(0, 80) : "none") };
          return { done: true, value: { x, y } };
        }`,
      );
      if (r.strict) throw new Error(`${label}: strict mode violation: the locator matches ${r.strict} elements`);
      return r;
    });

  // Values kept in the page for a check (evaluateHandle, addStyleTag, locator.elementHandle):
  // window.__peltoHandles[i], reached through a handle with evaluate, asElement and dispose.
  let handles = 0;
  const keep = async (valueExpression) => {
    const i = handles++;
    const isElement = await tab.evaluate(`(async () => { const v = await ${valueExpression}; (window.__peltoHandles = window.__peltoHandles || {})[${i}] = v; return v instanceof Element; })()`);
    return handleOf(i, isElement);
  };
  function handleOf(i, isElement) {
    const h = guarded(
      "handle",
      {
        evaluate: (fn, arg) => tab.evaluate(`(${fn.toString()})(window.__peltoHandles[${i}], ${literal(arg)})`),
        asElement: () => (isElement ? h : null),
        dispose: () => tab.evaluate(`(delete window.__peltoHandles[${i}], 0)`),
      },
      note,
    );
    handleIndex.set(h, i);
    return h;
  }

  let url = "";
  const refreshUrl = async () => {
    url = await tab.url().catch(() => url);
  };

  function locator(chain, label) {
    const sub = (step, text) => locator([...chain, step], `${label}.${text}`);
    const timeoutOf = (options) => (options && options.timeout) || DEFAULT_TIMEOUT_MS;
    return guarded("locator", {
      locator: (css) => sub({ css }, `locator(${JSON.stringify(css)})`),
      getByRole: (role, options = {}) => {
        if (!KNOWN_ROLES.includes(role)) {
          note(`getByRole("${role}")`);
          throw new NotOffered(`getByRole("${role}")`);
        }
        return sub({ role, name: pattern(options.name), exact: !!options.exact }, `getByRole(${JSON.stringify(role)})`);
      },
      first: () => sub({ nth: 0 }, "first()"),
      last: () => sub({ nth: -1 }, "last()"),
      nth: (i) => sub({ nth: i }, `nth(${i})`),
      filter: (options = {}) => {
        const extra = Object.keys(options).filter((k) => k !== "hasText");
        if (extra.length) {
          note(`locator.filter({ ${extra.join(", ")} })`);
          throw new NotOffered(`locator.filter({ ${extra.join(", ")} })`);
        }
        return options.hasText === undefined ? locator(chain, label) : sub({ hasText: typeof options.hasText === "string" ? { text: options.hasText } : pattern(options.hasText) }, "filter()");
      },
      count: () => inPage(chain, "(els) => els.length"),
      all: async () => {
        const n = await inPage(chain, "(els) => els.length");
        return Array.from({ length: n }, (_, i) => sub({ nth: i }, `nth(${i})`));
      },
      allTextContents: () => inPage(chain, "(els) => els.map((el) => el.textContent)"),
      evaluateAll: (fn, arg) => inPage(chain, fn.toString(), arg),
      isVisible: async () => {
        const r = await inPage(chain, `(els) => els.length > 1 ? { strict: els.length } : els.length === 1 && els[0].getClientRects().length > 0 && els[0].getBoundingClientRect().width > 0 && getComputedStyle(els[0]).visibility !== "hidden"`);
        if (r && r.strict) throw new Error(`${label}.isVisible: strict mode violation: the locator matches ${r.strict} elements`);
        return r;
      },
      textContent: (options) => one(chain, `${label}.textContent`, timeoutOf(options), "(el) => el.textContent"),
      getAttribute: (name, options) => one(chain, `${label}.getAttribute`, timeoutOf(options), "(el, name) => el.getAttribute(name)", name),
      evaluate: (fn, arg, options) => one(chain, `${label}.evaluate`, timeoutOf(options), fn.toString(), arg),
      boundingBox: (options) =>
        one(chain, `${label}.boundingBox`, timeoutOf(options), `(el) => { const b = el.getBoundingClientRect(); return b.width === 0 && b.height === 0 && el.getClientRects().length === 0 ? null : { x: b.x, y: b.y, width: b.width, height: b.height }; }`),
      scrollIntoViewIfNeeded: (options) =>
        one(chain, `${label}.scrollIntoViewIfNeeded`, timeoutOf(options), `(el) => { const b = el.getBoundingClientRect(); if (b.top < 0 || b.left < 0 || b.bottom > innerHeight || b.right > innerWidth) el.scrollIntoView({ block: "center", inline: "center" }); }`),
      focus: (options) => one(chain, `${label}.focus`, timeoutOf(options), "(el) => { el.focus(); }"),
      dispatchEvent: (type, init = {}, options) =>
        one(
          chain,
          `${label}.dispatchEvent`,
          timeoutOf(options),
          `(el, [type, init]) => {
            const Kind = /^(pointer|gotpointer|lostpointer)/.test(type) ? PointerEvent : /^(mouse|click$|dblclick$|contextmenu$|auxclick$)/.test(type) ? MouseEvent : /^key/.test(type) ? KeyboardEvent : /^(focus|blur)/.test(type) ? FocusEvent : /^(drag|drop)/.test(type) ? DragEvent : /^wheel$/.test(type) ? WheelEvent : Event;
            el.dispatchEvent(new Kind(type, { bubbles: true, cancelable: true, composed: true, ...init }));
          }`,
          [type, init],
        ),
      elementHandle: async (options) => {
        const i = handles++;
        await one(chain, `${label}.elementHandle`, timeoutOf(options), `(el, i) => { (window.__peltoHandles = window.__peltoHandles || {})[i] = el; }`, i);
        return handleOf(i, true);
      },
      blur: (options) => one(chain, `${label}.blur`, timeoutOf(options), "(el) => { el.blur(); }"),
      hover: async (options) => {
        const p = await target(chain, `${label}.hover`, timeoutOf(options));
        await tab.mouseMove(p.x, p.y, 1);
      },
      click: async (options) => {
        const p = await target(chain, `${label}.click`, timeoutOf(options));
        await tab.mouseClick(p.x, p.y);
        await refreshUrl();
      },
      waitFor: async (options = {}) => {
        const state = options.state || "visible";
        const test = {
          attached: "(els) => els.length > 0",
          detached: "(els) => els.length === 0",
          visible: `(els) => els.some((el) => el.getClientRects().length > 0 && el.getBoundingClientRect().width > 0 && getComputedStyle(el).visibility !== "hidden")`,
          hidden: `(els) => els.every((el) => !(el.getClientRects().length > 0 && el.getBoundingClientRect().width > 0 && getComputedStyle(el).visibility !== "hidden"))`,
        }[state];
        if (!test) throw new Error(`waitFor: unknown state ${state}`);
        await poll(`${label}.waitFor(${state})`, timeoutOf(options), async () => ({ done: !!(await inPage(chain, test)) }));
      },
    }, note);
  }

  const page = guarded(
    "page",
    {
      evaluate: (fn, arg) => evaluate(fn, arg),
      evaluateHandle: (fn, arg) => keep(callText(fn, [arg])),
      addStyleTag: (options = {}) => {
        if (typeof options.content !== "string") {
          note("page.addStyleTag({ url or path })");
          throw new NotOffered("page.addStyleTag({ url or path })");
        }
        return keep(`((text) => { const style = document.createElement("style"); style.textContent = text; document.head.appendChild(style); return style; })(${literal(options.content)})`);
      },
      $eval: (selector, fn, arg) =>
        inPage([{ css: selector }], `(els, arg) => { if (!els.length) throw new Error("no element matches ${JSON.stringify(selector).slice(1, -1)}"); return (${fn.toString()})(els[0], arg); }`, arg),
      $$eval: (selector, fn, arg) => inPage([{ css: selector }], fn.toString(), arg),
      waitForFunction: (fn, arg, options = {}) =>
        poll("page.waitForFunction", (options && options.timeout) || DEFAULT_TIMEOUT_MS, async () => {
          const value = await evaluate(fn, arg);
          return { done: !!value, value };
        }),
      waitForTimeout: (ms) => sleep(ms),
      mouse: guarded(
        "page.mouse",
        {
          move: (x, y, options = {}) => tab.mouseMove(x, y, Math.max(1, options.steps || 1)),
          click: async (x, y, options = {}) => {
            if (options.button && options.button !== "left") {
              note(`page.mouse.click({ button: "${options.button}" })`);
              throw new NotOffered(`page.mouse.click({ button: "${options.button}" })`);
            }
            await tab.mouseClick(x, y);
            await refreshUrl();
          },
        },
        note,
      ),
      keyboard: guarded(
        "page.keyboard",
        {
          press: async (combo) => {
            const parts = combo === "+" ? ["+"] : combo.split("+");
            const key = parts.pop();
            await tab.press(key === "Space" ? " " : key, parts);
            await refreshUrl();
          },
        },
        note,
      ),
      viewportSize: () => ({ ...size }),
      setViewportSize: async (next) => {
        await tab.setViewport({ width: next.width, height: next.height });
        size = { width: next.width, height: next.height };
      },
      url: () => url,
      reload: async () => {
        await tab.reload();
        await refreshUrl();
      },
      locator: (css) => locator([{ css }], `locator(${JSON.stringify(css)})`),
      getByRole: (role, options = {}) => {
        if (!KNOWN_ROLES.includes(role)) {
          note(`getByRole("${role}")`);
          throw new NotOffered(`getByRole("${role}")`);
        }
        return locator([{ role, name: pattern(options.name), exact: !!options.exact }], `getByRole(${JSON.stringify(role)})`);
      },
    },
    note,
  );
  return {
    page,
    engineName,
    usedNotOffered: used,
    ready: refreshUrl,
  };
}
