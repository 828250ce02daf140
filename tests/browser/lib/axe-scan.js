// Accessibility scan with axe-core: the serious and critical violations of a page, each with a
// key that names the rule and the element by its own traits (tag, id, text, picture), so the
// same element of the page is recognised on the page with effects, where its place in the tree
// has changed; and with the effect marks (pelto-* classes, data-pelto* attributes, ids) of the
// element and its ancestors, so a violation can be traced to the effect that made the element.
import { createRequire } from "node:module";
import path from "node:path";

export function axeScriptPath(here) {
  return createRequire(path.join(here, "package.json")).resolve("axe-core/axe.min.js");
}

function describeScript(targets) {
  return targets.map((target) => {
    let el = null;
    try {
      el = document.querySelector(target);
    } catch {}
    if (!el) return { key: target, marks: [] };
    const text = (el.textContent || "").replace(/\s+/g, " ").trim().slice(0, 80);
    const key = [el.tagName.toLowerCase(), el.id, text, el.getAttribute("src") || "", el.getAttribute("alt") || "", el.getAttribute("href") || ""].join("|");
    const marks = [];
    for (let a = el; a && a.nodeType === 1; a = a.parentElement) {
      for (const c of a.classList) if (c.startsWith("pelto-")) marks.push("class:" + c);
      for (const n of a.getAttributeNames()) if (n.startsWith("data-pelto") || /^data-p[a-z]{1,4}\d*$/i.test(n)) marks.push("attr:" + n.replace(/\d+$/, ""));
      if (a.id) marks.push("id:" + a.id);
    }
    return { key, marks };
  });
}

export async function axeViolations(page, scriptPath) {
  await page.addScriptTag({ path: scriptPath });
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  const found = [];
  for (const v of result.violations) {
    for (const node of v.nodes) {
      const impact = node.impact || v.impact;
      if (impact !== "serious" && impact !== "critical") continue;
      // The last selector of a target names the element inside frames and shadow roots.
      const target = Array.isArray(node.target) ? node.target[node.target.length - 1] : node.target;
      const [d] = await page.evaluate(describeScript, [String(target)]);
      found.push({ rule: v.id, impact, help: v.help, key: `${v.id}|${d.key}`, marks: d.marks, html: node.html.slice(0, 120), summary: (node.failureSummary || "").split("\n").slice(1, 2).join(" ").trim() });
    }
  }
  return found;
}

// Marks (classes, data attributes, ids) of a page that the bare page does not have: what an
// effect added to the page, for tracing violations back to it.
export function marksScript() {
  const marks = new Set();
  for (const el of document.querySelectorAll("*")) {
    for (const c of el.classList) if (c.startsWith("pelto-")) marks.add("class:" + c);
    for (const n of el.getAttributeNames()) if (n.startsWith("data-pelto") || /^data-p[a-z]{1,4}\d*$/i.test(n)) marks.add("attr:" + n.replace(/\d+$/, ""));
    if (el.id) marks.add("id:" + el.id);
  }
  return [...marks];
}
