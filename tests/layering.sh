#!/usr/bin/env bash
# Checks which code may include what. Game folders, lowest first (a folder includes its own
# headers and those of folders below it, never those above it or beside it on one level):
#
#   base  <  platform (top-level headers only)  <  sound, input, graphics  <  movers  <  stage
#   <  app  <  replay
#
# src/main.cpp sits above replay. Platform libraries (SDL, OpenGL, OpenAL, Assimp, fontconfig,
# zlib) are included only under src/platform/, whose backend folders (sdl/, gl/, openal/,
# assimp/, headless/, web/, posix/) no code outside src/platform/ under src/ includes; src/platform/
# includes no game folder. Also checks that every source file is named in its CMakeLists.txt.
# Usage: layering.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }

level() {
  case "$1" in
    base) echo 0 ;;
    platform) echo 1 ;;
    sound | input | graphics) echo 2 ;;
    movers) echo 3 ;;
    stage) echo 4 ;;
    app) echo 5 ;;
    replay) echo 6 ;;
    main) echo 7 ;;
    *) echo -1 ;;
  esac
}

libraries='<(SDL[^>]*|SDL2/[^>]*|epoxy/[^>]*|GL/[^>]*|GLES3/[^>]*|AL/[^>]*|assimp/[^>]*|fontconfig/[^>]*|zlib\.h|emscripten[^>]*)>'
backends='"platform/(sdl|gl|openal|assimp|headless|web|posix)/'

check_includes() {
  local file folder own line target theirs
  for file in $(find src -name '*.cpp' -o -name '*.h' | sort); do
    folder="${file#src/}"
    folder="${folder%%/*}"
    [ "$folder" = main.cpp ] && folder=main
    own=$(level "$folder")
    while IFS= read -r line; do
      target=$(sed -E 's/#include "([^/"]*)\/.*/\1/' <<<"$line")
      [ "$target" = "$folder" ] && continue
      theirs=$(level "$target")
      if [ "$theirs" -lt 0 ] || [ "$theirs" -ge "$own" ]; then
        echo "$file: $folder/ includes $target/, which is not below it: $line"
      fi
    done < <(grep -E '^#include "[a-z]+/' "$file")
    if [ "$folder" != platform ]; then
      grep -HE "^#include $libraries" "$file" | sed 's/^/a platform library outside src\/platform\/: /'
      grep -HE "^#include $backends" "$file" | sed 's/^/a backend header outside src\/platform\/: /'
    fi
  done
}
problems=$(check_includes)
if [ -n "$problems" ]; then
  echo "$problems"
  failures=$((failures + $(wc -l <<<"$problems")))
fi

# Every source file named in the CMakeLists.txt of its folder (or of src/platform/; the
# browser build's own sources in cmake/Web*.cmake).
for source in $(find src tests/unit tools bench -name '*.cpp' ! -name main.cpp | sort); do
  dir=$(dirname "$source")
  list="$dir/CMakeLists.txt"
  name=$(basename "$source")
  case "$dir" in
    src/platform/*) list=src/platform/CMakeLists.txt name="${source#src/platform/}" ;;
    tests/unit) list=tests/CMakeLists.txt name="unit/$name" ;;
    tools | bench) name="${name%.cpp}" ;;
  esac
  grep -qwF -- "$name" "$list" 2>/dev/null && continue
  case "$source" in
    src/platform/* | src/base/*) grep -qwF -- "$source" cmake/Web*.cmake 2>/dev/null && continue ;;
  esac
  fail "$source is not listed in $list"
done

[ "$failures" -eq 0 ] && echo "layering: every include points down, every source is built"
exit $((failures > 0))
