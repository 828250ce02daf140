// Layout shift: how far the page's own elements move while it loads and settles, as the browser
// itself scores it (the sum of its layout-shift entries that no input caused). The page is loaded
// with an observer in place before any of its scripts run, left to settle, scrolled to its end in
// steps (scrolling moves nothing by itself, so what an effect adds on the way counts) and back.

export function shiftObserverScript() {
  window.__peltoShift = { total: 0, sources: [] };
  try {
    new PerformanceObserver((list) => {
      for (const e of list.getEntries()) {
        if (e.hadRecentInput) continue;
        window.__peltoShift.total += e.value;
        for (const s of e.sources || []) {
          const n = s.node;
          if (!n || n.nodeType !== 1) continue;
          const cls = typeof n.className === "string" && n.className ? "." + n.className.trim().split(/\s+/)[0] : "";
          window.__peltoShift.sources.push(`${n.tagName.toLowerCase()}${n.id ? "#" + n.id : cls} (${e.value.toFixed(3)})`);
        }
      }
    }).observe({ type: "layout-shift", buffered: true });
  } catch {
    window.__peltoShift.unsupported = true;
  }
}

// Loads `file` in a new context of `browser` and returns { total, sources }.
export async function measureShift(browser, url, contextOptions = {}) {
  const context = await browser.newContext({ viewport: { width: 1200, height: 800 }, ...contextOptions });
  try {
    const page = await context.newPage();
    await page.addInitScript(shiftObserverScript);
    await page.goto(url, { waitUntil: "load", timeout: 30000 });
    await page.waitForTimeout(800);
    const height = await page.evaluate(() => document.documentElement.scrollHeight);
    const view = contextOptions.viewport ? contextOptions.viewport.height : 800;
    for (let y = 0; y <= height; y += Math.round(view * 0.75)) {
      await page.evaluate((top) => window.scrollTo(0, top), y);
      await page.waitForTimeout(60);
    }
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.waitForTimeout(400);
    const r = await page.evaluate(() => window.__peltoShift);
    if (r.unsupported) throw new Error("this browser reports no layout shift");
    return { total: r.total, sources: [...new Set(r.sources)].slice(0, 4) };
  } finally {
    await context.close();
  }
}
