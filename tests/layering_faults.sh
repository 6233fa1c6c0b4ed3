#!/usr/bin/env bash
# Plants one fault at a time in a copy of the sources and checks that tests/layering.sh fails
# on it, naming the file. Usage: layering_faults.sh [source root]
set -uo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
mkdir -p "$copy/tests"
cp -r "$root/src" "$root/cmake" "$root/tools" "$root/bench" "$copy/"
cp -r "$root/tests/unit" "$root/tests/CMakeLists.txt" "$copy/tests/"
failures=0

# plant FILE LINE: the check must fail and name FILE.
plant() {
  local file="$1" line="$2" output
  cp "$copy/$file" "$copy/$file.kept"
  sed -i "1a $line" "$copy/$file"
  output=$(bash "$root/tests/layering.sh" "$copy")
  local status=$?
  mv "$copy/$file.kept" "$copy/$file"
  if [ "$status" -eq 0 ] || ! grep -qF "$file" <<<"$output"; then
    echo "not caught: $line in $file"
    failures=$((failures + 1))
  else
    echo "caught: $(grep -F "$file" <<<"$output" | head -1)"
  fi
}

plant src/base/Utf8.cpp '#include "platform/Clock.h"'
plant src/base/MatrixMath.cpp '#include <SDL.h>'
plant src/base/DataDirectory.cpp '#include <unistd.h>'
plant src/app/GameApp.cpp '#include <sys/stat.h>'
plant src/sound/Sound.cpp '#include <windows.h>'
plant src/platform/Clock.h '#include <fcntl.h>'
plant src/platform/gl/GlProgram.cpp '#include "platform/sdl/SdlClock.h"'
plant src/platform/posix/InputFile.cpp '#include "platform/desktop/DesktopPlatform.h"'
plant src/platform/desktop/DesktopPlatform.cpp '#include "platform/browser/BrowserPlatform.h"'
plant src/platform/Platform.h '#include "platform/headless/HeadlessWindow.h"'
plant src/replay/ReplayStream.cpp '#include "platform/posix/InputFile.h"'
exit $((failures > 0))
