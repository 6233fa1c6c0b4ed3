// Loads the page's two faces (made by cmake/WebAssets.cmake, beside the page) through the
// FontFace API before the game starts, with the code points each holds
// (Module.vorlithFontGlyphs[family], a Set); WebFontRasterizer draws with them. Passed to emcc
// with --pre-js. A face that does not load is reported on the console and the game starts
// without it (its fonts then fail as on a desktop without the face).
Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function() {
  var faces = [["Vorlith Gothic", "vorlith-gothic"], ["Vorlith PGothic", "vorlith-pgothic"]];
  var glyphs = Module["vorlithFontGlyphs"] = {};
  addRunDependency("vorlith-fonts");
  Promise.all(faces.map(function(face) {
    var codePoints = fetch(face[1] + ".json").then(function(reply) {
      if (!reply.ok) throw new Error(reply.status + " " + reply.statusText);
      return reply.json();
    });
    var font = new FontFace(face[0], "url(" + face[1] + ".woff2)").load();
    return Promise.all([font, codePoints]).then(function(loaded) {
      document.fonts.add(loaded[0]);
      glyphs[face[0]] = new Set(loaded[1]);
    }, function(error) {
      console.error("vorlith: cannot load the font " + face[1] + ": " + error);
    });
  })).then(function() { removeRunDependency("vorlith-fonts"); });
});
