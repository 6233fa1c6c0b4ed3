// Page options, read before the program starts:
//   ?replay=PATH  fetches a replay file from the page's own server and plays it unpaced
//                 (the desktop's --replay PATH --no-pacing);
//   ?trace=1      writes each frame's trace line to the console (--trace /dev/stdout).
(function () {
  var params = new URLSearchParams(location.search);
  var args = [];
  var replay = params.get('replay');
  if (replay) {
    var file = '/replay/' + (replay.split('/').pop() || 'replay');
    args.push('--replay', file, '--no-pacing');
    Module['preRun'] = [].concat(Module['preRun'] || [], function () {
      addRunDependency('vorlith-replay');
      fetch(replay).then(function (reply) {
        if (!reply.ok) throw new Error('HTTP ' + reply.status);
        return reply.arrayBuffer();
      }).then(function (bytes) {
        FS.mkdirTree('/replay');
        FS.writeFile(file, new Uint8Array(bytes));
      }).catch(function (error) {
        console.error('vorlith: ' + replay + ': cannot fetch the replay: ' + error.message);
      }).finally(function () {
        removeRunDependency('vorlith-replay');
      });
    });
  }
  if (params.get('trace') === '1') args.push('--trace', '/dev/stdout');
  Module['arguments'] = (Module['arguments'] || []).concat(args);
})();
