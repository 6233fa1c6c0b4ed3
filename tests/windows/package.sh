#!/usr/bin/env bash
# The Windows packages as build-windows.sh leaves them in WINDOWS_BUILD_DIR: the zip's file
# list; the DLLs its exe and SDL2.dll import (system DLLs and shipped ones only); then, under
# Wine, the installer run silently (the files, the Start-menu shortcut and the Apps & features
# entry in place), the installed exe playing a replay from its own data (its trace the same as
# the Linux build's but for "fps"), and the uninstaller leaving no file, folder or registry key.
# Usage: bash tests/windows/package.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail
source "$(dirname "$0")/wine.sh" "$@"
version="$(sed -n 's/^project(vorlith VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
zip="$build/vorlith-$version-win64.zip"
setup="$build/vorlith-$version-setup.exe"

# ---- the zip --------------------------------------------------------------------------------
{
  printf '%s\n' vorlith.exe SDL2.dll game.ico README.txt fonts/ipag.ttf fonts/ipagp.ttf \
    fonts/LICENCE.txt
  (cd "$root/data" && ls model/*.x sound/*.wav)
} | sed "s|^|vorlith-$version-win64/|" | sort >"$out/expected.list"
unzip -Z1 "$zip" | grep -v '/$' | sort >"$out/zip.list"
diff "$out/expected.list" "$out/zip.list" &&
  echo "zip: $(wc -l <"$out/zip.list") files as expected ($(stat -c %s "$zip") bytes)" ||
  fail "the zip's files differ from the list above"
rm -rf "$out/unzipped" && unzip -q "$zip" -d "$out/unzipped"
unzipped="$out/unzipped/vorlith-$version-win64"

# Windows' own DLLs the program and SDL may import.
system_dlls='advapi32|cfgmgr32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|opengl32|setupapi|shell32|user32|uuid|version|winmm'
for binary in vorlith.exe SDL2.dll; do
  imports="$(x86_64-w64-mingw32-objdump -p "$unzipped/$binary" | sed -n 's/^\s*DLL Name: //p')"
  for dll in $imports; do
    if ! grep -Eiqx "($system_dlls)\.dll" <<<"$dll" && [ ! -e "$unzipped/$dll" ]; then
      fail "$binary imports $dll, neither a system DLL nor shipped"
    fi
  done
  echo "imports of $binary: $(echo $imports)"
done

# ---- the installer under Wine ---------------------------------------------------------------
wineserver="${wine%64}server"
drive="$WINEPREFIX/drive_c"
installed="$drive/Program Files/Vorlith"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorlith.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlith'

# Every file and folder outside Wine's own windows/ folder, and the registry's words for the game.
snapshot() {
  "$wineserver" -w
  (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print |
    sort)
  grep -il vorlith "$WINEPREFIX"/*.reg || true
}

snapshot >"$out/before.list"
run_wine "$setup" /S
"$wineserver" -w
(cd "$installed" && find . -type f -printf '%P\n' | sed "s|^|vorlith-$version-win64/|" | sort) \
  >"$out/installed.list"
diff <(echo "vorlith-$version-win64/uninstall.exe" | sort -m - "$out/expected.list") \
  "$out/installed.list" &&
  echo "installed: the zip's files and uninstall.exe under C:\\Program Files\\Vorlith" ||
  fail "the installed files differ from the zip's"
[ -e "$shortcut" ] || fail "no Start-menu shortcut"
run_wine reg query "$key" >"$out/key.txt" 2>&1 || fail "no Apps & features entry"
grep -q 'QuietUninstallString.*uninstall.exe" /S' "$out/key.txt" || fail "no silent uninstaller"

# The installed game plays a replay from its own data, started from elsewhere.
replay="$root/tests/replays/item_pickups.replay"
linux_trace "$replay" "$out/linux.trace"
(cd "$out" && run_wine 'C:\Program Files\Vorlith\vorlith.exe' --headless --no-pacing \
  --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/installed.trace")" >/dev/null) ||
  fail "the installed game ended with status $?"
same_trace "item_pickups played by the installed game" "$out/linux.trace" \
  "$out/installed.trace" || fail "the installed game's trace of item_pickups differs from Linux's"

run_wine 'C:\Program Files\Vorlith\uninstall.exe' /S
diff "$out/before.list" <(snapshot) && echo "uninstalled: no file, folder or registry entry left" ||
  fail "the uninstaller left the above behind (> lines)"
exit "$failed"
