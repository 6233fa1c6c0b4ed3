#!/usr/bin/env bash
# Installs every Debian package needed to build, play and test the game.
# Safe to run again; runs apt-get update once per call.
# Usage: bash scripts/install-deps.sh [--windows]
#   --windows  also the Windows cross build's tools, and a deb-src entry for every mirror apt is
#              configured with (so `apt-get source` fetches the dependencies' source packages).
set -euo pipefail

windows=0
case "${1:-}" in
  "") ;;
  --windows) windows=1 ;;
  *) echo "usage: install-deps.sh [--windows]" >&2; exit 2 ;;
esac

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  # platform libraries
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libepoxy-dev
  libassimp-dev libopenal-dev libfontconfig-dev libgl1-mesa-dri libegl1 libegl-mesa0
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev python3 time
  # the tests' share of the code (tests/line_share.sh)
  cloc
  # fonts and desktop helpers the game uses at run time
  fonts-ipafont-gothic xfonts-base xdg-utils
  # running it like a player: virtual display, keys, screenshots, sound checks
  xvfb xdotool x11-utils imagemagick sox evilwm procps wmctrl
  # installing and packaging: .deb dependencies, validators of the desktop files and man page
  dpkg-dev fakeroot file lintian desktop-file-utils appstream mandoc
  # browser build: emscripten (with Node.js for its optimizer), terser (its JavaScript
  # minified), headless Chromium driven over DevTools, the web font's subsetter
  emscripten nodejs terser chromium python3-websocket fonttools
)
windows_packages=(
  # cross compilers (the -posix ones have std::thread), windres, Wine to run and test, NSIS
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis
  # building the dependencies from their Debian source packages
  meson dpkg-dev xz-utils
  # packaging: the zip (and unzip to check it)
  zip unzip
)
[ "$windows" -eq 0 ] || packages+=("${windows_packages[@]}")

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

src_list=/etc/apt/sources.list.d/vorlith-deb-src.sources
src_list_legacy=/etc/apt/sources.list.d/vorlith-deb-src.list

# Every enabled "deb" entry of apt's own configuration, as "deb-src". deb822 stanzas keep all
# their fields (URIs, Suites, Components, Signed-By, ...) with Types replaced.
deb822_sources() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$src_list" ] || continue
    awk 'BEGIN { RS = ""; ORS = "" }
      {
        n = split($0, line, "\n"); types = ""; enabled = 1; rest = ""
        for (i = 1; i <= n; i++) {
          if (line[i] ~ /^#/) continue
          if (tolower(line[i]) ~ /^types:/) { types = line[i]; sub(/^[^:]*:/, "", types); continue }
          if (tolower(line[i]) ~ /^enabled:[ \t]*no/) enabled = 0
          rest = rest line[i] "\n"
        }
        if (enabled && (" " types " ") ~ /[ \t]deb[ \t]/ && types !~ /deb-src/)
          print "Types: deb-src\n" rest "\n"
      }' "$f"
  done
}

legacy_sources() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && [ "$f" != "$src_list_legacy" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done
}

# Writes FILE with CONTENT unless it already holds exactly that (an empty CONTENT removes it).
# Prints "changed" when it wrote or removed something.
put_list() {
  local file="$1" content="$2"
  if [ -z "$content" ]; then
    [ -e "$file" ] && $SUDO rm -f "$file" && echo changed
    return 0
  fi
  [ -f "$file" ] && [ "$(cat "$file")" = "$content" ] && return 0
  printf '%s\n' "$content" | $SUDO tee "$file.tmp" >/dev/null
  $SUDO mv "$file.tmp" "$file"
  echo changed
}

# Adds the deb-src entries; runs apt-get update when they changed or their indexes are missing.
ensure_deb_src() {
  local changed=""
  changed+="$(put_list "$src_list" "$(deb822_sources)")"
  changed+="$(put_list "$src_list_legacy" "$(legacy_sources)")"
  if [ -n "$changed" ] || ! compgen -G '/var/lib/apt/lists/*_Sources*' >/dev/null; then
    echo "install-deps: deb-src entries in $src_list(.list); updating apt's indexes"
    $SUDO apt-get update -qq
  fi
}

[ "$windows" -eq 0 ] || ensure_deb_src

installed="$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)"
missing=()
for p in "${packages[@]}"; do
  grep -qx "$p install ok installed" <<<"$installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
