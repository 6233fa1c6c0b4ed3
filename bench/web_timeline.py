#!/usr/bin/python3
"""The timeline of cold loads of the page, as the page itself sees it, to find what lies on
the way to the first title picture.

usage: web_timeline.py BUILD_WEB_DIR [LOADS] [--disable-gpu-compositing]
       (default 3 loads, each in a fresh browser; the flag goes to the browser)

For each load, in ms from the navigation's start: when each file was asked for and had
arrived (Resource Timing), when the wasm was compiled and instantiated, the drawing context
made, the fonts loaded, IndexedDB opened, each run dependency met (the data file's, the
fonts', the player's files'), main entered and returned, the first animation frames and the
first picture (Module.firstPictureTime); then the WebGL and canvas calls that took longest
in main and in the first frame (a call that waits for the browser's GPU process shows here).
Nothing of this is in the page: the browser runs hooks before the page's own scripts.
"""
import json
import os
import statistics
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from devtools import Browser  # noqa: E402
import webpage  # noqa: E402

HOOKS = r"""
(function () {
  var marks = window.vorlithMarks = [], calls = window.vorlithCalls = {}, phase = 'start';
  function mark(name) {
    marks.push([name, performance.now()]);
    if (/^main entered|^main returned|^animation frame 1/.test(name)) phase = name;
  }
  function after(name, promise) {
    return promise.then(function (value) { mark(name); return value; });
  }
  var compile = WebAssembly.compileStreaming, instantiate = WebAssembly.instantiate;
  WebAssembly.compileStreaming = function () {
    return after('wasm compiled', compile.apply(this, arguments));
  };
  WebAssembly.instantiate = function () {
    return after('wasm instantiated', instantiate.apply(this, arguments));
  };
  var load = FontFace.prototype.load;
  FontFace.prototype.load = function () {
    return after('font ' + this.family + ' loaded', load.apply(this, arguments));
  };
  var open = IDBFactory.prototype.open;
  IDBFactory.prototype.open = function () {
    mark('IndexedDB asked');
    var request = open.apply(this, arguments);
    request.addEventListener('success', function () { mark('IndexedDB opened'); });
    return request;
  };
  var frame = window.requestAnimationFrame, frames = 0;
  window.requestAnimationFrame = function (callback) {
    return frame.call(window, function (time) {
      var n = ++frames;
      if (n <= 2) mark('animation frame ' + n + ' begins');
      callback(time);
      if (n <= 2) mark('animation frame ' + n + ' ends');
    });
  };
  // Every call of a WebGL 2 or 2D canvas context, timed, summed by the phase it falls in.
  [[WebGL2RenderingContext.prototype, 'gl.'], [CanvasRenderingContext2D.prototype, '2d.']]
      .forEach(function (pair) {
    Object.getOwnPropertyNames(pair[0]).forEach(function (key) {
      var d = Object.getOwnPropertyDescriptor(pair[0], key);
      if (!d || typeof d.value !== 'function' || key === 'constructor') return;
      var f = d.value, name = pair[1] + key;
      pair[0][key] = function () {
        var start = performance.now(), result = f.apply(this, arguments);
        var spent = performance.now() - start;
        if (spent > 8) {
          marks.push([name + ' (' + spent.toFixed(1) + ' ms) returned', performance.now()]);
        }
        var sums = calls[phase] || (calls[phase] = {});
        var sum = sums[name] || (sums[name] = [0, 0]);
        sum[0] += 1;
        sum[1] += spent;
        return result;
      };
    });
  });
  var context = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function () {
    var start = performance.now(), result = context.apply(this, arguments);
    mark('getContext (' + (performance.now() - start).toFixed(1) + ' ms) returned');
    return result;
  };
  // The page's Module: its run dependencies and main, hooked when vorlith.js first runs.
  var module, sets = 0;
  Object.defineProperty(window, 'Module', {configurable: true, get: function () { return module; },
    set: function (value) {
      module = value;
      if (++sets !== 2 || !value) return;
      mark('vorlith.js runs');
      var initialized = value.onRuntimeInitialized;
      value.onRuntimeInitialized = function () {
        mark('main entered');
        if (initialized) initialized.apply(this, arguments);
      };
      value.postRun = [].concat(value.postRun || [], function () { mark('main returned'); });
      value.preRun = [].concat(value.preRun || [], function () {
        mark('preRun');
        var met = window.removeRunDependency;
        window.removeRunDependency = value.removeRunDependency = function (id) {
          if (!/^fp /.test(id)) mark('run dependency met: ' + id);
          return met(id);
        };
      });
    }});
})();
"""

COLLECT = r"""
JSON.stringify({marks: (function () {
  var out = [];
  performance.getEntriesByType('resource').forEach(function (e) {
    var name = e.name.split('/').pop();
    out.push([name + ' asked', e.startTime], [name + ' arrived', e.responseEnd]);
  });
  var nav = performance.getEntriesByType('navigation')[0];
  out.push(['vorlith.html arrived', nav.responseEnd],
           ['DOMContentLoaded', nav.domContentLoadedEventStart],
           ['first picture', Module.firstPictureTime]);
  return out.concat(vorlithMarks).sort(function (a, b) { return a[1] - b[1]; });
})(), calls: vorlithCalls})
"""


def main():
    flags = [arg for arg in sys.argv[1:] if arg.startswith("--")]
    args = [arg for arg in sys.argv[1:] if not arg.startswith("--")]
    build = args[0]
    loads = int(args[1]) if len(args) > 1 else 3
    with open("/proc/loadavg") as f:
        print("load average before: %s" % " ".join(f.read().split()[:3]))
    firsts = []
    with webpage.serve(webpage.page_dir(build)) as base:
        for n in range(loads):
            with Browser(extra_flags=flags) as browser:
                browser.call("Page.addScriptToEvaluateOnNewDocument", source=HOOKS)
                firsts.append(webpage.open_page(browser, base + "/vorlith.html"))
                browser.pump(0.3)
                seen = json.loads(browser.evaluate(COLLECT))
            print("load %d: first picture at %.0f ms" % (n + 1, firsts[-1]))
            for name, at in seen["marks"]:
                print("  %7.1f  %s" % (at, name))
            for phase, sums in sorted(seen["calls"].items()):
                if phase.startswith(("main entered", "main returned", "animation frame 1 begins")):
                    top = sorted(sums.items(), key=lambda item: -item[1][1])[:5]
                    print("  calls from '%s' on: %s" % (phase, ", ".join(
                        "%s x%d %.1f ms" % (name, n, ms) for name, (n, ms) in top)))
    with open("/proc/loadavg") as f:
        print("load average after: %s" % " ".join(f.read().split()[:3]))
    print("first pictures: %s ms (median %.0f)" % (" ".join("%.0f" % t for t in firsts),
                                                   statistics.median(firsts)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
