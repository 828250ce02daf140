// A small HTTP server for the browser checks: serves one folder on 127.0.0.1 at a port the
// system picks, so pages load from an http:// address (some engines report a script error on a
// file:// page only as "Script error.", without its message). Pages are sent without a charset,
// so their own <meta charset> or byte order mark decides, as it does for a file. Every request
// is logged: the URLs that loaded, and those that failed (a missing file). With `inject`, every
// HTML page gets one <script src> at the start of its head that loads `inject.source`. With
// `stallMs`, every HTML page is sent up to its last </body>, then, after that pause, the rest: the
// browser shows the page as parsed so far before DOMContentLoaded, as it does over a slow network,
// so what an effect changes once its script starts moves what the visitor already sees.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";

const TYPES = {
  ".htm": "text/html",
  ".html": "text/html",
  ".js": "text/javascript",
  ".css": "text/css",
  ".json": "application/json",
  ".gif": "image/gif",
  ".png": "image/png",
  ".jpg": "image/jpeg",
  ".jpeg": "image/jpeg",
  ".svg": "image/svg+xml",
  ".webp": "image/webp",
  ".ico": "image/x-icon",
  ".bmp": "image/bmp",
  ".txt": "text/plain",
};
const INJECTED_PATH = "/.pelto-checks/collect.js";

// Places `tag` right after the opening <head> tag, else after <html>, else after the doctype;
// the page is handled as bytes (latin1), so its encoding is kept.
function injectInto(bytes, tag) {
  const text = bytes.toString("latin1");
  const m = /<head(\s[^>]*)?>/i.exec(text) || /<html(\s[^>]*)?>/i.exec(text) || /<!doctype[^>]*>/i.exec(text);
  const at = m ? m.index + m[0].length : 0;
  return Buffer.from(text.slice(0, at) + tag + text.slice(at), "latin1");
}

export async function serveFolder(root, { inject = null, stallMs = 0 } = {}) {
  const base = path.resolve(root);
  const log = [];
  const server = http.createServer((req, res) => {
    const entry = { url: req.url, status: 0 };
    log.push(entry);
    const send = (status, body, type) => {
      entry.status = status;
      res.writeHead(status, { "Content-Type": type, "Cache-Control": "no-store" });
      res.end(body);
    };
    try {
      const raw = req.url.split("?")[0].split("#")[0];
      if (inject && raw === INJECTED_PATH) return send(200, inject.source, "text/javascript");
      // Browsers ask for the root's icon by themselves; no page here names it.
      if (raw === "/favicon.ico") return send(204, "", "image/x-icon");
      const file = path.resolve(base, "." + decodeURIComponent(raw));
      if (file !== base && !file.startsWith(base + path.sep)) return send(403, "outside the served folder", "text/plain");
      if (!fs.existsSync(file) || !fs.statSync(file).isFile()) return send(404, "no such file", "text/plain");
      const type = TYPES[path.extname(file).toLowerCase()] || "application/octet-stream";
      let body = fs.readFileSync(file);
      if (inject && type === "text/html") body = injectInto(body, `<script src="${INJECTED_PATH}"></script>`);
      const end = type === "text/html" && stallMs > 0 ? body.toString("latin1").toLowerCase().lastIndexOf("</body") : -1;
      if (end < 0) return send(200, body, type);
      entry.status = 200;
      res.writeHead(200, { "Content-Type": type, "Cache-Control": "no-store" });
      res.write(body.subarray(0, end));
      setTimeout(() => res.end(body.subarray(end)), stallMs);
    } catch (e) {
      send(500, String(e.message), "text/plain");
    }
  });
  await new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(0, "127.0.0.1", resolve);
  });
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    // The address of a file inside the served folder.
    url(file) {
      const rel = path.relative(base, path.resolve(file));
      if (rel.startsWith("..")) throw new Error(`${file} is outside the served folder ${base}`);
      return origin + "/" + rel.split(path.sep).map(encodeURIComponent).join("/");
    },
    // A mark in the request log: what was requested after it.
    mark: () => log.length,
    loadedSince: (mark) => log.slice(mark).filter((e) => e.status === 200 && e.url !== INJECTED_PATH).map((e) => origin + e.url),
    failedSince: (mark) => log.slice(mark).filter((e) => e.status >= 400).map((e) => `failed to load ${(origin + e.url).slice(0, 160)}: HTTP ${e.status}`),
    close: () =>
      new Promise((resolve) => {
        server.closeAllConnections();
        server.close(() => resolve());
      }),
  };
}
