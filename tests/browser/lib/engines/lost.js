// Tells when a browser driven over a connection (puppeteer-core, playwright-core) has gone: the
// connection closed, and, when the browser's process is known, how that process ended. Read
// `why` after a page failed: null while the browser is there, else the words for the report.
export function watchBrowser(browser, label) {
  const state = { why: null, ended: null };
  const child = typeof browser.process === "function" ? browser.process() : null;
  if (child) {
    child.once("exit", (code, signal) => {
      state.ended = signal ? `killed by ${signal}` : `exited with ${code}`;
      if (state.why) state.why = `${label} ended (${state.ended})`;
    });
  }
  browser.on("disconnected", () => {
    state.why = state.ended ? `${label} ended (${state.ended})` : `the connection to ${label} closed`;
  });
  return state;
}
