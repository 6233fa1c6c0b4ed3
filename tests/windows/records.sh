#!/usr/bin/env bash
# The high score table of the Windows build: the end-to-end records script played with the exe
# under Wine. A run to Game Over with real keys lands in the prefix's %APPDATA%\Vorlith (the
# prefix of the tests, never a player's), the table shows it, the run is watched from there,
# and the kept replay plays back to the same score.
# Usage: bash tests/windows/records.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail
[ $# -ge 2 ] || set --  # the usage line
source "$(dirname "$0")/wine.sh" "$@"

# Wine sets APPDATA itself, from the prefix's profile of the user running it.
folder="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Vorlith"
rm -rf "$folder"  # the last run of this script's entries

# The records script starts "the game" with Unix paths, which Wine reads on its Z: drive.
game="$out/vorlith-under-wine"
cat >"$game" <<EOF
#!/usr/bin/env bash
export WINEPREFIX="$WINEPREFIX" HOME="$HOME" WINEDLLOVERRIDES="$WINEDLLOVERRIDES" WINEDEBUG=-all
export VORLITH_DATA_DIR="$(windows_path "$root/data")"
exec "$wine" "$exe" "\$@"
EOF
chmod +x "$game"

cd "$root/data"
E2E_RECORDS_FOLDER="$folder" bash "$root/tests/e2e/records.sh" "$game"
