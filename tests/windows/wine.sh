# Sourced by the Windows tests with WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR] (else the script's
# usage line is printed): sets root (the source tree), build, exe, linux and out (a new
# temporary directory unless named), HOME to $out/home, and WINEPREFIX unless set to a prefix
# made once under $out.
# run_wine PROGRAM ARGS... runs a Windows program under Wine 8 (64-bit) without Mono's and
# Gecko's prompts or Wine's debug output; windows_path names a Unix path as Wine's Z: drive
# does; nofps FILE... prints traces with their "fps" values blanked; fail WHAT reports a
# failure, and the script ends with `exit "$failed"`.
[ $# -ge 2 ] || { sed -n 's/^# Usage: bash /usage: /p' "$0" >&2; exit 2; }
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)"
exe="$build/vorlith.exe"
linux="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
out="${3:-$(mktemp -d "/tmp/vorlith-windows-$(basename "$0" .sh).XXXXXX")}"
mkdir -p "$out/home"
out="$(cd "$out" && pwd)"
export HOME="$out/home"  # Wine links the prefix's user folders into it
wine="${VORLITH_WINE:-/usr/lib/wine/wine64}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
# winemenubuilder off: no menu entries or desktop files in the real home for shortcuts made.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -u >/dev/null 2>&1
  "${wine%64}server" -w 2>/dev/null || wineserver -w
fi

failed=0
fail() { echo "FAILED: $*"; failed=1; }
run_wine() { "$wine" "$@"; }
windows_path() { echo "Z:${1//\//\\}"; }
nofps() { sed -E 's/"fps":[0-9.]+/"fps":_/' "$@"; }

# linux_trace REPLAY TRACE: the Linux build's trace of a replay played headless and unpaced
# from data/; its status is not checked: a sanitizer build's report on the model importer's
# helper process may end it with 1.
linux_trace() {
  (cd "$root/data" && "$linux" --headless --no-pacing --replay "$1" --trace "$2" >/dev/null 2>&1) ||
    true
}

# same_trace WHAT LINUX_TRACE WINDOWS_TRACE: true when they agree but for "fps"; prints so,
# or the first difference.
same_trace() {
  if cmp -s <(nofps "$2") <(nofps "$3" 2>/dev/null); then
    echo "same: $1 ($(wc -l <"$2") frames)"
    return 0
  fi
  echo "DIFFERENT: $1; first difference:"
  diff <(nofps "$2") <(nofps "$3" 2>/dev/null) | head -n 4 | cut -c1-400
  return 1
}
