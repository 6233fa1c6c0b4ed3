// The player's files in the page: emscripten's IDBFS mounted at /player, loaded from the
// browser's IndexedDB before the program starts, and saved back after every write
// (Module.vorlithSavePlayerStorage, called by SyncPlayerFiles; saves asked for while one
// runs are made once it is done). Without IndexedDB the program keeps nothing.
(function () {
  var saving = false;
  var again = false;
  Module['vorlithPlayerStorage'] = false;
  Module['vorlithSavePlayerStorage'] = function () {
    if (saving) {
      again = true;
      return;
    }
    saving = true;
    FS.syncfs(false, function (error) {
      if (error) console.warn('vorlith: the player files were not saved: ' + error);
      saving = false;
      if (again) {
        again = false;
        Module['vorlithSavePlayerStorage']();
      }
    });
  };
  Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    FS.mkdir('/player');
    FS.mount(IDBFS, {}, '/player');
    addRunDependency('vorlith-player-files');
    FS.syncfs(true, function (error) {
      if (error) console.warn('vorlith: the player files cannot be loaded: ' + error);
      Module['vorlithPlayerStorage'] = !error;
      removeRunDependency('vorlith-player-files');
    });
  });
})();
