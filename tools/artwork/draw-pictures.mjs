// Draws the library's pictures (category buttons, slideshow and rollover pictures) on a canvas in
// headless Chromium and writes them as GIF files into effects/. Run after changing a drawing:
//   node tools/artwork/draw-pictures.mjs   (needs `npm ci` in tests/browser first)
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { createRequire } from "node:module";
import { encodeGif } from "./gif.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, "../..");
const require = createRequire(path.join(root, "tests/browser/package.json"));
const { chromium } = require("playwright-core");

// Each drawing runs in the page: (ctx, w, h) => void. Kept as source text.
const drawings = {
  tile: `function tile(ctx, w, h, a, b) {
    const g = ctx.createLinearGradient(0, 0, w, h);
    g.addColorStop(0, a); g.addColorStop(1, b);
    ctx.fillStyle = g;
    ctx.beginPath(); ctx.roundRect(2, 2, w - 4, h - 4, 12); ctx.fill();
    ctx.strokeStyle = "rgba(0,0,0,0.25)"; ctx.lineWidth = 1.5; ctx.stroke();
    ctx.fillStyle = "rgba(255,255,255,0.18)";
    ctx.beginPath(); ctx.roundRect(4, 4, w - 8, h / 2 - 4, 10); ctx.fill();
  }`,
};

const pictures = [
  { file: "effects/images/Menus.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#26A69A", "#00695C");
    ctx.fillStyle = "#FFFFFF";
    ctx.fillRect(12, 14, 40, 8);
    ctx.fillStyle = "#FFC107"; ctx.fillRect(20, 22, 26, 28);
    ctx.fillStyle = "#263238";
    for (let i = 0; i < 3; i++) ctx.fillRect(24, 27 + i * 8, 18, 3);
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.moveTo(44, 16); ctx.lineTo(50, 16); ctx.lineTo(47, 20); ctx.fill();` },
  { file: "effects/images/Text Effects.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#EC407A", "#6A1B9A");
    ctx.font = "bold 34px Georgia, serif"; ctx.textAlign = "center"; ctx.textBaseline = "middle";
    ctx.fillStyle = "rgba(0,0,0,0.3)"; ctx.fillText("Aa", 34, 36);
    const g = ctx.createLinearGradient(10, 0, 54, 0); g.addColorStop(0, "#FFF59D"); g.addColorStop(1, "#FFFFFF");
    ctx.fillStyle = g; ctx.fillText("Aa", 32, 34);` },
  { file: "effects/images/Scrollers.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#42A5F5", "#0D47A1");
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.roundRect(8, 22, 48, 20, 4); ctx.fill();
    ctx.fillStyle = "#0D47A1";
    for (let i = 0; i < 4; i++) ctx.fillRect(12 + i * 11, 30, 7, 4);
    ctx.fillStyle = "#FFEB3B"; ctx.beginPath(); ctx.moveTo(20, 50); ctx.lineTo(12, 54); ctx.lineTo(20, 58); ctx.fill();
    ctx.fillRect(20, 53, 26, 2);` },
  { file: "effects/images/Images.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#FFB74D", "#E65100");
    ctx.fillStyle = "#FFFFFF"; ctx.fillRect(10, 14, 44, 36);
    ctx.fillStyle = "#81D4FA"; ctx.fillRect(13, 17, 38, 30);
    ctx.fillStyle = "#FFEB3B"; ctx.beginPath(); ctx.arc(42, 25, 5, 0, 7); ctx.fill();
    ctx.fillStyle = "#388E3C"; ctx.beginPath(); ctx.moveTo(13, 47); ctx.lineTo(26, 30); ctx.lineTo(36, 42); ctx.lineTo(42, 36); ctx.lineTo(51, 47); ctx.fill();` },
  { file: "effects/images/Clocks and Dates.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#7E57C2", "#311B92");
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.arc(32, 33, 21, 0, 7); ctx.fill();
    ctx.strokeStyle = "#311B92"; ctx.lineWidth = 2;
    for (let i = 0; i < 12; i++) { const a = i * Math.PI / 6; ctx.beginPath(); ctx.moveTo(32 + Math.cos(a) * 16, 33 + Math.sin(a) * 16); ctx.lineTo(32 + Math.cos(a) * 19, 33 + Math.sin(a) * 19); ctx.stroke(); }
    ctx.lineWidth = 3; ctx.lineCap = "round";
    ctx.beginPath(); ctx.moveTo(32, 33); ctx.lineTo(32, 19); ctx.stroke();
    ctx.strokeStyle = "#E53935"; ctx.beginPath(); ctx.moveTo(32, 33); ctx.lineTo(42, 39); ctx.stroke();` },
  { file: "effects/images/Mouse Effects.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#66BB6A", "#1B5E20");
    ctx.fillStyle = "#FFFFFF"; ctx.strokeStyle = "#1B1B1B"; ctx.lineWidth = 2;
    ctx.beginPath(); ctx.moveTo(22, 12); ctx.lineTo(22, 46); ctx.lineTo(30, 38); ctx.lineTo(36, 51); ctx.lineTo(41, 49); ctx.lineTo(35, 36); ctx.lineTo(46, 36); ctx.closePath(); ctx.fill(); ctx.stroke();
    ctx.fillStyle = "#FFEB3B";
    [[48, 16, 3], [52, 26, 2], [12, 30, 2.5], [44, 50, 2]].forEach(([x, y, r]) => { ctx.beginPath(); ctx.arc(x, y, r, 0, 7); ctx.fill(); });` },
  { file: "effects/images/Backgrounds.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#26C6DA", "#283593");
    for (let y = 0; y < 4; y++) for (let x = 0; x < 4; x++) {
      ctx.fillStyle = (x + y) % 2 ? "rgba(255,255,255,0.35)" : "rgba(255,255,255,0.12)";
      ctx.beginPath(); ctx.arc(14 + x * 12, 14 + y * 12, 4.5, 0, 7); ctx.fill();
    }
    ctx.fillStyle = "#FFF59D"; ctx.beginPath();
    for (let i = 0; i < 10; i++) { const r = i % 2 ? 5 : 12, a = -Math.PI / 2 + i * Math.PI / 5; ctx.lineTo(44 + Math.cos(a) * r, 42 + Math.sin(a) * r); }
    ctx.fill();` },
  { file: "effects/images/Page Tools.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#8D6E63", "#3E2723");
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.moveTo(14, 10); ctx.lineTo(40, 10); ctx.lineTo(50, 20); ctx.lineTo(50, 54); ctx.lineTo(14, 54); ctx.fill();
    ctx.fillStyle = "#BCAAA4"; ctx.beginPath(); ctx.moveTo(40, 10); ctx.lineTo(40, 20); ctx.lineTo(50, 20); ctx.fill();
    ctx.fillStyle = "#8D6E63"; for (let i = 0; i < 4; i++) ctx.fillRect(19, 22 + i * 6, 20, 2.5);
    ctx.fillStyle = "#43A047"; ctx.beginPath(); ctx.arc(42, 45, 9, 0, 7); ctx.fill();
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.moveTo(42, 39); ctx.lineTo(47, 45); ctx.lineTo(37, 45); ctx.fill(); ctx.fillRect(40.5, 44, 3, 6);` },
  { file: "effects/images/Links and Tooltips.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#FF7043", "#BF360C");
    ctx.fillStyle = "#FFFFFF"; ctx.beginPath(); ctx.roundRect(10, 12, 44, 28, 8); ctx.fill();
    ctx.beginPath(); ctx.moveTo(20, 38); ctx.lineTo(18, 50); ctx.lineTo(30, 39); ctx.fill();
    ctx.fillStyle = "#BF360C"; ctx.font = "bold 22px Georgia, serif"; ctx.textAlign = "center"; ctx.textBaseline = "middle"; ctx.fillText("i", 32, 27);
    ctx.strokeStyle = "#FFFFFF"; ctx.lineWidth = 3; ctx.beginPath(); ctx.moveTo(34, 52); ctx.lineTo(52, 52); ctx.stroke();` },
  { file: "effects/images/cdefault.gif", w: 64, h: 64, draw: `tile(ctx, w, h, "#78909C", "#37474F");
    ctx.strokeStyle = "#FFFFFF"; ctx.lineWidth = 5; ctx.lineCap = "round"; ctx.beginPath(); ctx.moveTo(16, 50); ctx.lineTo(38, 28); ctx.stroke();
    ctx.fillStyle = "#FFEB3B"; ctx.beginPath();
    for (let i = 0; i < 10; i++) { const r = i % 2 ? 4 : 11, a = -Math.PI / 2 + i * Math.PI / 5; ctx.lineTo(44 + Math.cos(a) * r, 20 + Math.sin(a) * r); }
    ctx.fill();
    ctx.fillStyle = "#FFFFFF"; [[20, 18, 2], [52, 40, 2.5], [30, 12, 1.5]].forEach(([x, y, r]) => { ctx.beginPath(); ctx.arc(x, y, r, 0, 7); ctx.fill(); });` },
  // Slideshow pictures: three garden scenes.
  { file: "effects/scripts/slideshow/slideshow_garden1.gif", w: 360, h: 220, draw: `
    const sky = ctx.createLinearGradient(0, 0, 0, h); sky.addColorStop(0, "#4FC3F7"); sky.addColorStop(1, "#E1F5FE");
    ctx.fillStyle = sky; ctx.fillRect(0, 0, w, h);
    ctx.fillStyle = "#FFD54F"; ctx.beginPath(); ctx.arc(290, 50, 28, 0, 7); ctx.fill();
    ctx.fillStyle = "#81C784"; ctx.beginPath(); ctx.moveTo(0, 150); ctx.quadraticCurveTo(90, 100, 190, 145); ctx.quadraticCurveTo(280, 180, 360, 130); ctx.lineTo(360, 220); ctx.lineTo(0, 220); ctx.fill();
    ctx.fillStyle = "#388E3C"; ctx.beginPath(); ctx.moveTo(0, 185); ctx.quadraticCurveTo(120, 150, 230, 180); ctx.quadraticCurveTo(300, 195, 360, 175); ctx.lineTo(360, 220); ctx.lineTo(0, 220); ctx.fill();
    [[70, 120], [250, 135]].forEach(([x, y]) => { ctx.fillStyle = "#6D4C41"; ctx.fillRect(x - 4, y, 8, 40); ctx.fillStyle = "#2E7D32"; ctx.beginPath(); ctx.arc(x, y - 6, 26, 0, 7); ctx.fill(); });
    ctx.font = "bold 22px Georgia, serif"; ctx.fillStyle = "#FFFFFF"; ctx.fillText("The orchard", 18, 36);` },
  { file: "effects/scripts/slideshow/slideshow_garden2.gif", w: 360, h: 220, draw: `
    ctx.fillStyle = "#FFF3E0"; ctx.fillRect(0, 0, w, h);
    ctx.fillStyle = "#A5D6A7"; ctx.fillRect(0, 120, w, 100);
    const colours = ["#E91E63", "#FF9800", "#9C27B0", "#F44336", "#FFEB3B"];
    for (let i = 0; i < 18; i++) {
      const x = 20 + i * 19, y = 130 + (i % 3) * 22, c = colours[i % 5];
      ctx.strokeStyle = "#2E7D32"; ctx.lineWidth = 3; ctx.beginPath(); ctx.moveTo(x, y); ctx.lineTo(x, 215); ctx.stroke();
      ctx.fillStyle = c; for (let k = 0; k < 5; k++) { const a = k * 2 * Math.PI / 5; ctx.beginPath(); ctx.arc(x + Math.cos(a) * 7, y + Math.sin(a) * 7, 6, 0, 7); ctx.fill(); }
      ctx.fillStyle = "#FFEB3B"; ctx.beginPath(); ctx.arc(x, y, 4, 0, 7); ctx.fill();
    }
    ctx.font = "bold 22px Georgia, serif"; ctx.fillStyle = "#6A1B9A"; ctx.fillText("The flower beds", 18, 40);` },
  { file: "effects/scripts/slideshow/slideshow_garden3.gif", w: 360, h: 220, draw: `
    ctx.fillStyle = "#1A237E"; ctx.fillRect(0, 0, w, h);
    ctx.fillStyle = "#FFFFFF"; for (let i = 0; i < 40; i++) { ctx.fillRect((i * 97) % w, (i * 53) % 110, 2, 2); }
    ctx.fillStyle = "#FFF9C4"; ctx.beginPath(); ctx.arc(300, 45, 20, 0, 7); ctx.fill();
    ctx.fillStyle = "#1A237E"; ctx.beginPath(); ctx.arc(292, 40, 18, 0, 7); ctx.fill();
    ctx.fillStyle = "#B2DFDB"; ctx.beginPath(); ctx.moveTo(90, 200); ctx.lineTo(90, 120); ctx.lineTo(170, 70); ctx.lineTo(250, 120); ctx.lineTo(250, 200); ctx.fill();
    ctx.strokeStyle = "#4DB6AC"; ctx.lineWidth = 2; for (let x = 110; x < 250; x += 20) { ctx.beginPath(); ctx.moveTo(x, 200); ctx.lineTo(x, 105); ctx.stroke(); }
    ctx.fillStyle = "#FFE082"; ctx.fillRect(155, 150, 30, 50);
    ctx.fillStyle = "#1B5E20"; ctx.fillRect(0, 200, w, 20);
    ctx.font = "bold 22px Georgia, serif"; ctx.fillStyle = "#FFFFFF"; ctx.fillText("The greenhouse", 18, 36);` },
  // Rollover pictures: a button in its normal and its highlighted look.
  { file: "effects/scripts/rollover/rollover_normal.gif", w: 200, h: 56, draw: `
    ctx.fillStyle = "#2E7D32"; ctx.beginPath(); ctx.roundRect(1, 1, w - 2, h - 2, 12); ctx.fill();
    ctx.font = "bold 20px Verdana, sans-serif"; ctx.textAlign = "center"; ctx.textBaseline = "middle"; ctx.fillStyle = "#FFFFFF"; ctx.fillText("Visit our shop", w / 2, h / 2 + 1);` },
  { file: "effects/scripts/rollover/rollover_hover.gif", w: 200, h: 56, draw: `
    const g = ctx.createLinearGradient(0, 0, 0, h); g.addColorStop(0, "#FFE082"); g.addColorStop(1, "#FFB300");
    ctx.fillStyle = g; ctx.beginPath(); ctx.roundRect(1, 1, w - 2, h - 2, 12); ctx.fill();
    ctx.strokeStyle = "#E65100"; ctx.lineWidth = 2; ctx.stroke();
    ctx.font = "bold 20px Verdana, sans-serif"; ctx.textAlign = "center"; ctx.textBaseline = "middle"; ctx.fillStyle = "#3E2723"; ctx.fillText("Visit our shop \\u203A", w / 2, h / 2 + 1);` },
];

const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--headless", "--no-sandbox", "--disable-gpu"] });
try {
  const page = await browser.newPage();
  for (const pic of pictures) {
    const pixels = await page.evaluate(
      ({ w, h, helpers, draw }) => {
        const canvas = document.createElement("canvas");
        canvas.width = w;
        canvas.height = h;
        const ctx = canvas.getContext("2d");
        new Function("ctx", "w", "h", helpers + "\n" + draw)(ctx, w, h);
        return Array.from(ctx.getImageData(0, 0, w, h).data);
      },
      { w: pic.w, h: pic.h, helpers: drawings.tile, draw: pic.draw },
    );
    const gif = encodeGif(pic.w, pic.h, pixels);
    fs.mkdirSync(path.dirname(path.join(root, pic.file)), { recursive: true });
    fs.writeFileSync(path.join(root, pic.file), gif);
    console.log(`${pic.file}: ${gif.length} bytes`);
  }
} finally {
  await browser.close();
}
