// The sample page's own look must survive the effects: its text links stay underlined and
// change colour on hover, its menu links keep their hover cues and transition, and its note
// keeps its own transform and transition. Each probe reads computed styles at rest and while
// the pointer is on the element, on the bare page and on a page with effects.
export const PROBES = [
  { what: "a link in the text (#news-link)", selector: "#news-link", props: ["color", "text-decoration-line"] },
  { what: "a link of the page's menu", selector: ".site-nav a[href='#services']", props: ["color", "text-decoration-line", "background-color", "transition"] },
  { what: "the sale note (#note)", selector: "#note", props: ["transform", "transition"] },
  { what: "a heading (#products h2)", selector: "#products h2", props: ["color", "transition"] },
];
// Lets hover effects start (a frame or two).
const HOVER_WAIT_MS = 50;

// Reads the styles the element comes to rest at: running transitions are taken to their end.
function readScript([selector, props]) {
  const el = document.querySelector(selector);
  if (!el) return null;
  for (const a of el.getAnimations()) if (a instanceof CSSTransition) a.finish();
  const cs = getComputedStyle(el);
  return Object.fromEntries(props.map((p) => [p, cs.getPropertyValue(p)]));
}

// Reads every probe at rest and hovered.
export async function readHostStyles(page) {
  const out = {};
  for (const probe of PROBES) {
    await page.mouse.move(0, 0);
    const rest = await page.evaluate(readScript, [probe.selector, probe.props]);
    let hover = null;
    if (rest) {
      try {
        // In the middle of the window, clear of the bars that effects fix to its edges.
        await page.evaluate((selector) => document.querySelector(selector).scrollIntoView({ block: "center" }), probe.selector);
        await page.locator(probe.selector).first().hover({ force: true, timeout: 5000 });
        await page.waitForTimeout(HOVER_WAIT_MS);
        hover = await page.evaluate(readScript, [probe.selector, probe.props]);
      } catch (e) {
        hover = { error: e.message.split("\n")[0] };
      }
    }
    out[probe.what] = { rest, hover };
  }
  await page.mouse.move(0, 0);
  await page.evaluate(() => window.scrollTo(0, 0));
  return out;
}

// The page's transitions must all still be there; an effect may add its own.
const transitions = (v) => (v || "").split(/,(?![^(]*\))/).map((t) => t.trim()).filter((t) => t && !/^all 0s ease 0s$/.test(t));

export function compareHostStyles(bare, seen) {
  const errors = [];
  for (const probe of PROBES) {
    const b = bare[probe.what];
    const s = seen[probe.what];
    if (!b || !b.rest) continue;
    if (!s || !s.rest) {
      errors.push(`${probe.what} is gone from the page`);
      continue;
    }
    for (const state of ["rest", "hover"]) {
      if (s[state] && s[state].error) {
        errors.push(`${probe.what} cannot be hovered: ${s[state].error}`);
        continue;
      }
      for (const prop of probe.props) {
        const want = b[state][prop];
        const got = s[state][prop];
        const when = state === "rest" ? "" : " under the pointer";
        if (prop === "transition") {
          const lost = transitions(want).filter((t) => !transitions(got).includes(t));
          if (lost.length) errors.push(`${probe.what} lost its own transition ${lost.join(", ")}${when} (now "${got}")`);
        } else if (want !== got) {
          errors.push(`${probe.what} has ${prop} "${got}"${when}; the page gives it "${want}"`);
        }
      }
    }
  }
  return errors;
}
