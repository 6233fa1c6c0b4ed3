// Page options, read before the program starts:
//   ?replay=PATH  fetches a replay file from the page's own server and plays it unpaced
//                 (the desktop's --replay PATH --no-pacing);
//   ?trace=1      writes each frame's trace line to the console (--trace /dev/stdout).
// The replay is fetched at once, beside the program's own files; the program starts when it
// is there. A replay that cannot be fetched is reported (Module.printErr, which the page
// shows) and the game does not start.
(function () {
  var params = new URLSearchParams(location.search);
  var args = [];
  var replay = params.get('replay');
  if (replay !== null) {
    var file = '/replay/' + (replay.split('/').pop() || 'replay');
    args.push('--replay', file, '--no-pacing');
    var report = function (text) {
      (Module['printErr'] || console.error)('vorlith: ' + (replay ? replay + ': ' : '') + text);
    };
    var bytes = (replay ? fetch(replay) : Promise.reject(new Error('?replay= names no file')))
      .then(function (reply) {
        if (!reply.ok) throw new Error('HTTP ' + reply.status);
        return reply.arrayBuffer();
      });
    Module['preRun'] = [].concat(Module['preRun'] || [], function () {
      addRunDependency('vorlith-replay');
      bytes.then(function (loaded) {
        FS.mkdirTree('/replay');
        FS.writeFile(file, new Uint8Array(loaded));
        removeRunDependency('vorlith-replay');
      }, function (error) {
        report('cannot fetch the replay: ' + error.message);
      });
    });
  }
  if (params.get('trace') === '1') args.push('--trace', '/dev/stdout');
  Module['arguments'] = (Module['arguments'] || []).concat(args);
})();
