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
  // The files the page read at its start (vorlithPlayerFiles in vorlith.html), stored as
  // IDBFS's own load stores them; IDBFS loads them itself where the page read nothing. Where
  // the page found no database there is nothing to load; IDBFS makes it at the first save.
  Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    FS.mkdir('/player');
    FS.mount(IDBFS, {}, '/player');
    addRunDependency('vorlith-player-files');
    var loaded = function (error) {
      if (error) console.warn('vorlith: the player files cannot be loaded: ' + error);
      Module['vorlithPlayerStorage'] = !error;
      removeRunDependency('vorlith-player-files');
    };
    var read = typeof vorlithPlayerFiles === 'object' ? vorlithPlayerFiles : Promise.resolve();
    read.then(function (found) {
      if (found && !found.db) return;  // no database yet: nothing stored
      if (found && found.db.version !== IDBFS.DB_VERSION) found.db.close();
      if (!found || found.db.version !== IDBFS.DB_VERSION) throw new Error('not read');
      IDBFS.dbs['/player'] = found.db;
      Object.keys(found.files).sort().forEach(function (path) {
        IDBFS.storeLocalEntry(path, found.files[path], function (error) {
          if (error) throw error;
        });
      });
    }).then(loaded, function () {
      FS.syncfs(true, loaded);
    });
  });
})();
