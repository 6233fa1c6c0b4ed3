# Sourced by the Windows tests: run_wine PROGRAM ARGS... runs a Windows program under Wine 8
# (64-bit), in $WINEPREFIX or in a prefix made once under $out, without Mono's and Gecko's
# prompts or Wine's debug output.
wine="${VORLITH_WINE:-/usr/lib/wine/wine64}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
export WINEDLLOVERRIDES="mscoree=;mshtml=" WINEDEBUG=-all
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -u >/dev/null 2>&1
  "${wine%64}server" -w 2>/dev/null || wineserver -w
fi

run_wine() {
  "$wine" "$@"
}
