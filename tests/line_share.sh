#!/usr/bin/env bash
# Prints the tests' share of the code: non-blank lines that are not comment lines (starting
# with // or #) of the tracked .c/.cpp/.h/.py/.sh/.js files under tests/ and fuzz/, against
# those plus src/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -E '\.(c|cpp|h|py|sh|js)$' | while read -r f; do [ -f "$f" ] && cat "$f"; done |
    grep -cvE '^[[:space:]]*($|//|#)' || true
}
tests=$(count tests fuzz)
code=$(count src)
total=$((tests + code))
echo "tests and fuzz: $tests lines; src: $code lines; tests share: $tests of $total ($((tests * 100 / total)) %)"
