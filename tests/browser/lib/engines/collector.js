// Runs first in every page of an engine whose driver reports no page errors (WebKit's classic
// WebDriver): it keeps uncaught exceptions, rejected promises nobody handled, console.error
// calls, resources that failed to load and policy violations in window.__peltoProblems, where
// the checks read them. The page is served from http://127.0.0.1 so a message is not cut down
// to "Script error.".
export const COLLECTOR_SOURCE = `(function () {
  if (window.__peltoProblems) return;
  var problems = (window.__peltoProblems = []);
  var where = function (file, line) { return file ? " (" + String(file).split("/").pop() + ":" + line + ")" : ""; };
  window.addEventListener("error", function (e) {
    var t = e.target;
    if (t && t !== window && t.tagName) {
      problems.push("failed to load " + String(t.currentSrc || t.src || t.href || "<" + t.tagName.toLowerCase() + ">").slice(0, 160));
    } else {
      problems.push("uncaught exception: " + (e.error && e.error.message ? e.error.message : e.message) + where(e.filename, e.lineno));
    }
  }, true);
  window.addEventListener("unhandledrejection", function (e) {
    var r = e.reason;
    problems.push("uncaught exception: unhandled rejection: " + (r && r.message ? r.message : String(r)));
  });
  window.addEventListener("securitypolicyviolation", function (e) {
    problems.push("console error: the content security policy blocked " + (e.blockedURI || "inline code") + " (" + e.violatedDirective + ")");
  });
  var error = console.error;
  console.error = function () {
    var parts = [];
    for (var i = 0; i < arguments.length; i++) parts.push(arguments[i] && arguments[i].message ? arguments[i].message : String(arguments[i]));
    problems.push("console error: " + parts.join(" "));
    return error.apply(console, arguments);
  };
})();
`;
