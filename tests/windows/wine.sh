# Sourced by the Windows tests: run_wine PROGRAM ARGS... runs a Windows program under Wine 8
# (64-bit), in $WINEPREFIX or in a prefix made once under $out, with $out/home as HOME,
# without Mono's and Gecko's prompts or Wine's debug output.
wine="${VORLITH_WINE:-/usr/lib/wine/wine64}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
# A home of its own: Wine links the prefix's user folders into it.
export HOME="$out/home"
mkdir -p "$HOME"
# winemenubuilder off: no menu entries or desktop files in the real home for shortcuts made.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -u >/dev/null 2>&1
  "${wine%64}server" -w 2>/dev/null || wineserver -w
fi

run_wine() {
  "$wine" "$@"
}
