// Reveal Text on Scroll: elements below the fold wait hidden and appear when scrolled to, or when
// a taller window brings them into view; the page's own transition and transform of an element
// stay as they are, while it waits and after it appeared; a printed page shows everything.
export async function check(page, context = {}) {
  const confs = await page.locator("[data-pelto-reveal]").count();
  if (confs < (context.copies || 1)) throw new Error(`expected ${context.copies || 1} reveal setting(s), found ${confs}`);
  await page.waitForFunction(() => document.querySelectorAll("[data-pelto-rv]").length > 0, null, { timeout: 5000 });
  const waitingHidden = () => page.evaluate(() => [...document.querySelectorAll("[data-pelto-rv]:not([data-pelto-rv-in])")].filter((el) => getComputedStyle(el).opacity !== "1").length);
  const appears = (el, how) =>
    el.evaluate(
      (el, how) =>
        new Promise((resolve, reject) => {
          const t0 = performance.now();
          (function poll() {
            if (el.hasAttribute("data-pelto-rv-in") && getComputedStyle(el).opacity === "1") return resolve();
            if (performance.now() - t0 > 5000) return reject(new Error(`the element did not appear ${how}`));
            setTimeout(poll, 50);
          })();
        }),
      how,
    );
  // The page's own look for its paragraphs, in a style sheet as a page would have it.
  // Under a strict policy, which refuses a style element, the sheet is a constructed one.
  const ownRule = "main p { transition: color 0.25s linear; transform: rotate(1deg); }";
  const own = context.strict
    ? {
        evaluate: () => page.evaluate(() => { document.adoptedStyleSheets = document.adoptedStyleSheets.filter((s) => !s.peltoOwn); }),
        added: await page.evaluate((rule) => {
          const sheet = new CSSStyleSheet();
          sheet.replaceSync(rule);
          sheet.peltoOwn = true;
          document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
        }, ownRule),
      }
    : await page.addStyleTag({ content: ownRule });
  const rotate = "matrix(0.999848, 0.0174524, -0.0174524, 0.999848, 0, 0)";
  // Engines write a matrix's numbers to different precision (WebKit: 0.017452).
  const numbers = (m) => (/^matrix\(/.test(m) ? m.slice(7, -1).split(",").map(Number) : []);
  const rotated = (transform) => numbers(transform).length === 6 && numbers(transform).every((v, i) => Math.abs(v - numbers(rotate)[i]) < 1e-4);
  const ownLook = (el) => el.evaluate((el) => { const cs = getComputedStyle(el); return { transition: cs.transitionProperty, transform: cs.transform }; });
  try {
    const waiting = page.locator("[data-pelto-rv]:not([data-pelto-rv-in])");
    if ((await waiting.count()) === 0) {
      // On a page shared with other effects an earlier check may have scrolled everything into view.
      if (!context.all) throw new Error("no element waits below the fold");
      await page.waitForFunction(() => [...document.querySelectorAll("[data-pelto-rv]")].every((el) => getComputedStyle(el).opacity === "1"), null, { timeout: 5000 }).catch(() => {
        throw new Error("revealed elements did not become fully visible");
      });
    } else {
      const last = await page.locator("main p[data-pelto-rv]:not([data-pelto-rv-in])").last().elementHandle();
      if (!last) throw new Error("no paragraph waits below the fold");
      const opacity = await last.evaluate((el) => getComputedStyle(el).opacity);
      if (opacity !== "0") throw new Error(`an element below the fold shows before it is scrolled to (opacity ${opacity})`);
      let look = await ownLook(last);
      if (look.transition !== "color" || !rotated(look.transform)) throw new Error(`a waiting paragraph lost the page's own transition or transform (${look.transition}, ${look.transform})`);
      // Printed, nothing waits.
      await page.emulateMedia({ media: "print" });
      const hiddenInPrint = await waitingHidden();
      await page.emulateMedia({ media: "screen" });
      if (hiddenInPrint) throw new Error(`${hiddenInPrint} element(s) stay hidden on the printed page`);
      await last.evaluate((el) => el.scrollIntoView({ block: "center" }));
      await appears(last, "after scrolling to it");
      look = await ownLook(last);
      if (look.transition !== "color" || !rotated(look.transform)) throw new Error(`the paragraph lost the page's own transition or transform after it appeared (${look.transition}, ${look.transform})`);
      await page.evaluate(() => window.scrollTo(0, 0));
      // A taller window shows more of the page without any scrolling.
      // The first waiting element that is rendered at all (a hidden one can never come into view).
      const next = (await page.evaluateHandle(() => [...document.querySelectorAll("[data-pelto-rv]:not([data-pelto-rv-in])")].find((el) => el.getClientRects().length > 0) || null)).asElement();
      if (next) {
        const size = page.viewportSize();
        const bottom = await next.evaluate((el) => el.getBoundingClientRect().bottom + window.scrollY);
        try {
          // Elements appear once they are inside the upper 92% of the window.
          await page.setViewportSize({ width: size.width, height: Math.ceil((bottom + 50) / 0.9) });
          await appears(next, "when a taller window brought it into view");
        } finally {
          await page.setViewportSize(size);
        }
      }
    }
  } finally {
    await own.evaluate((el) => el.remove());
    await page.evaluate(() => window.scrollTo(0, 0));
  }
}
