#!/usr/bin/env bash
# Checks which code may include what. Folders under src/, lowest first (a folder includes its
# own headers and those of folders below it, never those above it or beside it on one level):
#
#   base  <  platform (top-level headers only)  <  sound, input, graphics  <  movers  <  stage
#   <  app  <  replay  <  main.cpp
#
# base/ is plain C++: it includes no other folder, no platform library and no system header.
# src/platform/ holds the interfaces (its top-level headers), one folder per backend (sdl/,
# gl/, openal/, sdlaudio/, assimp/, headless/, web/, posix/, win32/, and portable/: what
# posix/ and win32/ share, which they alone include) and one folder per target
# that assembles a platform from backends (desktop/, browser/, windows/). Platform libraries
# (SDL, OpenGL, OpenAL, Assimp, fontconfig, zlib, emscripten) and system headers (POSIX and Win32: unistd.h,
# fcntl.h, sys/*, signal.h, poll.h, windows.h, io.h, ...) are included only in backend and
# target folders. A backend folder includes no other backend or target folder; a target
# folder includes backends but no other target; nothing else under src/ includes either.
# Also checks that every source file is named in its CMakeLists.txt.
# Usage: layering.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }

declare -A LEVEL=([base]=0 [platform]=1 [sound]=2 [input]=2 [graphics]=2 [movers]=3 [stage]=4
  [app]=5 [replay]=6 [main]=7)

backends='sdl|gl|openal|sdlaudio|assimp|headless|web|posix|win32|portable'
targets='desktop|browser|windows'
libraries='SDL[^>]*|SDL2/[^>]*|epoxy/[^>]*|GL/[^>]*|GLES3/[^>]*|AL/[^>]*|assimp/[^>]*|fontconfig/[^>]*|zlib\.h|emscripten[^>]*'
system='unistd\.h|fcntl\.h|sys/[^>]*|signal\.h|poll\.h|spawn\.h|dirent\.h|pthread\.h|dlfcn\.h|langinfo\.h|termios\.h|pwd\.h|sched\.h|semaphore\.h|netinet/[^>]*|arpa/[^>]*|windows\.h|winsock2\.h|ws2tcpip\.h|io\.h|direct\.h|process\.h|shlobj\.h|shellapi\.h'

# The sources: all of them, those of src/platform/, its interfaces (its top level), the rest.
all=$(find src \( -name '*.cpp' -o -name '*.h' \) | sort)
platform=$(find src/platform -name '*.cpp' -o -name '*.h' | sort)
interfaces=$(find src/platform -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) | sort)
others=$(grep -v '^src/platform/' <<<"$all")

# The platform's own includes: a backend includes only itself (posix/ and win32/ also
# portable/), a target no other target, an interface no backend or target.
check_platform_includes() {
  local entry file line part other rest
  while IFS= read -r entry; do
    file=${entry%%:*} line=${entry#*:} rest=${entry#src/platform/}
    [[ "${rest%%:*}" == */* ]] && part=${rest%%/*} || part=top
    [[ "$line" =~ ^#include\ \"platform/([a-z0-9]+)/ ]] && other=${BASH_REMATCH[1]}
    [ "$other" = "$part" ] && continue
    [ "$other" = portable ] && [[ "$part" =~ ^(posix|win32)$ ]] && continue
    if [[ "$part" =~ ^($backends)$ ]]; then
      echo "$file: backend $part/ includes $other/: $line"
    elif [[ "$part" =~ ^($targets)$ ]] && [[ "$other" =~ ^($targets)$ ]]; then
      echo "$file: target $part/ includes target $other/: $line"
    elif [ "$part" = top ]; then
      echo "$file: an interface includes $other/: $line"
    fi
  done < <(grep -HE "^#include \"platform/($backends|$targets)/" $platform)
  grep -HE "^#include <($libraries|$system)>" $interfaces |
    sed 's/^/a platform library or system header among the interfaces: /'
}

check_includes() {
  local entry file line folder target own theirs
  while IFS= read -r entry; do
    file=${entry%%:*} line=${entry#*:} folder=${entry#src/}
    folder=${folder%%/*}
    [[ "$folder" == main.cpp* ]] && folder=main
    [[ "$line" =~ ^#include\ \"([a-z]+)/ ]] && target=${BASH_REMATCH[1]}
    [ "$target" = "$folder" ] && continue
    own=${LEVEL[$folder]:--1} theirs=${LEVEL[$target]:--1}
    if [ "$theirs" -lt 0 ] || [ "$theirs" -ge "$own" ]; then
      echo "$file: $folder/ includes $target/, which is not below it: $line"
    fi
  done < <(grep -HE '^#include "[a-z]+/' $all)
  check_platform_includes
  grep -HE "^#include <($libraries)>" $others | sed 's/^/a platform library outside src\/platform\/: /'
  grep -HE "^#include <($system)>" $others | sed 's/^/a system header outside src\/platform\/: /'
  grep -HE "^#include \"platform/($backends|$targets)/" $others |
    sed 's/^/a backend or target header outside src\/platform\/: /'
}
problems=$(check_includes)
if [ -n "$problems" ]; then
  echo "$problems"
  failures=$((failures + $(wc -l <<<"$problems")))
fi

# Every source file named in the CMakeLists.txt of its folder (or of src/platform/; the
# browser's and Windows' own sources in cmake/Web*.cmake and cmake/Windows.cmake).
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
    src/platform/* | src/base/*) grep -qwF -- "$source" cmake/Web*.cmake cmake/Windows.cmake 2>/dev/null && continue ;;
  esac
  fail "$source is not listed in $list"
done

[ "$failures" -eq 0 ] && echo "layering: every include points down, every source is built"
exit $((failures > 0))
