// Main-thread busy time: the share of wall-clock time the page's main thread spends on tasks
// (script, style, layout, paint), read from the browser's own performance counters over a few
// seconds while the effect moves. Motion done by the compositor (transform and opacity
// animations) costs the main thread next to nothing; a property that restyles every frame, or
// a script that works on every frame, shows here.

export async function busyShare(context, page, ms = 2500) {
  const cdp = await context.newCDPSession(page);
  try {
    await cdp.send("Performance.enable");
    const read = async () => {
      const { metrics } = await cdp.send("Performance.getMetrics");
      const m = Object.fromEntries(metrics.map((x) => [x.name, x.value]));
      return { task: m.TaskDuration, at: m.Timestamp };
    };
    const a = await read();
    await page.waitForTimeout(ms);
    const b = await read();
    return (b.task - a.task) / Math.max(0.001, b.at - a.at);
  } finally {
    await cdp.detach().catch(() => {});
  }
}

// Runs in the page: the properties that running animations and transitions change other than
// those the compositor animates alone.
export function mainThreadAnimationsScript() {
  const compositor = new Set(["transform", "opacity", "translate", "rotate", "scale", "offset", "easing", "composite", "computedOffset"]);
  const out = [];
  for (const a of document.getAnimations()) {
    if (a.playState !== "running" || !a.effect || !a.effect.getKeyframes) continue;
    const props = new Set();
    for (const k of a.effect.getKeyframes()) for (const p of Object.keys(k)) if (!compositor.has(p)) props.add(p);
    if (props.size === 0) continue;
    const t = a.effect.target;
    const name = t ? t.tagName.toLowerCase() + (typeof t.className === "string" && t.className ? "." + t.className.trim().split(/\s+/)[0] : "") : "?";
    const timing = a.effect.getTiming();
    out.push({ name, what: a.animationName || a.transitionProperty || "animation", props: [...props], endless: timing.iterations === Infinity });
  }
  return out;
}
