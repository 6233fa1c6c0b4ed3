#!/usr/bin/env bash
# The game installed as a player installs it, started from /tmp, played and removed again:
#  1. cmake --install into a prefix, the prefix moved elsewhere (the program finds its data
#     relative to itself), the installed desktop files validated, stage 1 played, then the
#     uninstall target: no file of the game left;
#  2. as root with dpkg: the Debian package from cpack installed with dpkg -i, /usr/games/vorlith
#     played from /tmp, purged: none of its files left.
# Usage: installed_game.sh <build directory>
source "$(dirname "$0")/install_lib.sh"

BUILD="$(realpath "${1:?usage: $0 <build directory>}")"
HERE="$(cd "$(dirname "$0")" && pwd)"
e2e_start_x 1280x1024

# 1. A prefix, moved, from a build of the program alone as scripts/play.sh makes it.
rm -f "$BUILD/dist/vorlith.6.gz" "$BUILD/dist/changelog.gz"
e2e_run "building the program" cmake --build "$BUILD" --target vorlith
e2e_run "cmake --install" cmake --install "$BUILD" --prefix "$E2E_TMP/prefix"
for f in games/vorlith share/games/vorlith/model/myship.x share/games/vorlith/sound/se_sad04.wav \
  share/games/vorlith/game.ico share/applications/vorlith.desktop \
  share/icons/hicolor/256x256/apps/vorlith.png share/icons/hicolor/scalable/apps/vorlith.svg \
  share/metainfo/org.vorlith.Vorlith.metainfo.xml share/man/man6/vorlith.6.gz \
  share/doc/vorlith/copyright; do
  [ -f "$E2E_TMP/prefix/$f" ] || e2e_fail "not installed: $f"
done
desktop-file-validate "$E2E_TMP/prefix/share/applications/vorlith.desktop" ||
  e2e_fail "installed desktop entry does not validate"
appstreamcli validate --no-net "$E2E_TMP/prefix/share/metainfo/org.vorlith.Vorlith.metainfo.xml" \
  >/dev/null || e2e_fail "installed metainfo does not validate"
man -l "$E2E_TMP/prefix/share/man/man6/vorlith.6.gz" 2>&1 | grep -q VORLITH_DATA_DIR ||
  e2e_fail "installed man page does not read"
mv "$E2E_TMP/prefix" "$E2E_TMP/moved"
mkdir "$E2E_TMP/cwd"
# The moved program reads the moved data, not the source tree's: a damaged boss model there
# is named when a replay starts the stage.
moved_boss="$E2E_TMP/moved/share/games/vorlith/model/boss0.x"
cp "$moved_boss" "$E2E_TMP/boss0.x"
echo "not a model" >"$moved_boss"
e2e_run "the moved program" env -C "$E2E_TMP/cwd" ASAN_OPTIONS=detect_leaks=0 \
  "$E2E_TMP/moved/games/vorlith" --headless --no-pacing \
  --replay "$HERE/../replays/item_pickups.replay"
grep -q "$moved_boss" "$E2E_TMP/run.log" ||
  e2e_fail "the moved program did not read the moved data: $(head -3 "$E2E_TMP/run.log")"
cp "$E2E_TMP/boss0.x" "$moved_boss"
play_stage_from "$E2E_TMP/cwd" "$E2E_TMP/moved.png" "$E2E_TMP/moved/games/vorlith"
mv "$E2E_TMP/moved" "$E2E_TMP/prefix"
e2e_run "uninstall" cmake --build "$BUILD" --target uninstall
left="$(find "$E2E_TMP/prefix" \( -type f -o -name '*vorlith*' \) -print)"
[ -z "$left" ] || e2e_fail "left after uninstall: $left"
e2e_log "prefix install: moved, played, uninstalled"

# 2. The Debian package.
if [ "$(id -u)" != 0 ] || ! command -v dpkg >/dev/null; then
  e2e_log "not root: the Debian package is not installed here"
elif dpkg-query -W vorlith >/dev/null 2>&1; then
  e2e_fail "a vorlith package is already installed; remove it before this test"
else
  e2e_run "cpack" env -C "$BUILD" cpack -G DEB -B "$E2E_TMP/package"
  deb="$(ls "$E2E_TMP"/package/vorlith_*.deb)"
  dpkg-deb -f "$deb" Section Depends
  dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$E2E_TMP/contents"
  for f in /usr/games/vorlith /usr/share/games/vorlith/model/myship.x; do
    grep -qx "$f" "$E2E_TMP/contents" || e2e_fail "the package lacks $f"
  done
  e2e_run "dpkg -i" dpkg -i "$deb"
  mkdir -p "$E2E_TMP/tmpdir"
  play_stage_from "$E2E_TMP/tmpdir" "$E2E_TMP/package.png" /usr/games/vorlith
  dpkg --purge vorlith >>"$E2E_TMP/dpkg.log" 2>&1 || e2e_fail "dpkg --purge failed"
  while read -r f; do
    case "$f" in */) continue ;; esac
    [ ! -e "$f" ] || e2e_fail "left after purge: $f"
  done <"$E2E_TMP/contents"
  for d in /usr/share/games/vorlith /usr/share/doc/vorlith; do
    [ ! -e "$d" ] || e2e_fail "left after purge: $d"
  done
  e2e_log "package: installed, played, purged"
fi
e2e_log "PASS"
