#!/usr/bin/env bash
# Runs tools/math_scan.cpp over all 2^32 float inputs of one function: builds it natively and
# with emcc, then, one block of 2^26 inputs at a time, writes glibc's results and compares the
# browser build's against them under node.
#   tools/math_scan.sh FUNC WORKDIR [EXTRA_SOURCE...]
# EXTRA_SOURCE files are linked into the emcc build only (to try replacement functions).
# Prints the totals; the mismatches are listed in WORKDIR/FUNC.mismatches. MATH_SCAN_BLOCKS
# (e.g. "$(seq 0 17) $(seq 32 49)": |x| <= 4096) limits the run to some of the 64 blocks.
set -euo pipefail
func=$1 work=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
g++ -O2 -std=c++20 -o "$work/scan_native" "$here/math_scan.cpp"
emcc -O2 -std=c++20 -I"$here/../src" -sENVIRONMENT=node -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 \
  -o "$work/scan_web.js" "$here/math_scan.cpp" "$@"
list="$work/$func.mismatches"
: >"$list"
blocks=64 per=$((1 << 26))
checked=0 differ=0 near=0 mid=0
for b in ${MATH_SCAN_BLOCKS:-$(seq 0 $((blocks - 1)))}; do
  "$work/scan_native" write "$func" $((b * per)) 64 "$work/block"
  line=$(node --no-experimental-fetch "$work/scan_web.js" compare "$func" $((b * per)) 64 \
    "$work/block" "$list")
  read -r c d _ n _ m < <(sed -E 's/[^0-9]+/ /g' <<<"$line")
  checked=$((checked + c)) differ=$((differ + d)) near=$((near + n)) mid=$((mid + m))
done
rm -f "$work/block"
echo "$func: checked $checked, differ $differ (|x| <= 72: $near, |x| <= 4096: $mid)"
