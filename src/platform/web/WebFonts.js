// Loads the page's two faces (made by cmake/WebAssets.cmake, beside the page) through the
// FontFace API, with the code points each holds (Module.vorlithFontGlyphs[family], a Set);
// WebFontRasterizer draws with them. Passed to emcc with --pre-js: the faces are fetched as
// soon as the script runs (or earlier by the page: vorlithFontFaces, by file name), beside
// the program's own files, and the game starts once they are there. A face that does not
// load is reported on the console and the game starts without it (its fonts then fail as on
// a desktop without the face).
(function () {
  var faces = [["Vorlith Gothic", "vorlith-gothic"], ["Vorlith PGothic", "vorlith-pgothic"]];
  var glyphs = Module["vorlithFontGlyphs"] = {};
  var loaded = false;
  var loading = Promise.all(faces.map(function (face) {
    var codePoints = fetch(face[1] + ".json").then(function (reply) {
      if (!reply.ok) throw new Error(reply.status + " " + reply.statusText);
      return reply.json();
    });
    var early = typeof vorlithFontFaces === "object" && vorlithFontFaces[face[1]];
    var font = early || new FontFace(face[0], "url(" + face[1] + ".woff2)").load();
    return Promise.all([font, codePoints]).then(function (both) {
      document.fonts.add(both[0]);
      glyphs[face[0]] = new Set(both[1]);
    }, function (error) {
      console.error("vorlith: cannot load the font " + face[1] + ": " + error);
    });
  })).then(function () { loaded = true; });
  Module["preRun"] = [].concat(Module["preRun"] || [], function () {
    if (loaded) return;
    addRunDependency("vorlith-fonts");
    loading.then(function () { removeRunDependency("vorlith-fonts"); });
  });
})();
