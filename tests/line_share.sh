#!/usr/bin/env bash
# Prints the tests' share of the code: lines of code as cloc counts them (preprocessor lines
# are code; comments, docstrings and blank lines are not) of the tracked .c/.cpp/.h/.py/.sh/.js
# files under tests/ and fuzz/, against those plus src/. The tests are meant to stay at most a
# third. For comparison it also prints the plain count of lines that are not blank and do not
# start with // or # (which leaves out #include lines and counts docstrings).
set -euo pipefail
cd "$(dirname "$0")/.."
list() { git ls-files -- "$@" | grep -E '\.(c|cpp|h|py|sh|js)$' | while read -r f; do [ -f "$f" ] && echo "$f"; done; }
cloc_count() { cloc --quiet --csv --list-file=<(list "$@") | awk -F, '$2 == "SUM" { print $5 }'; }
plain_count() { list "$@" | xargs cat | grep -cvE '^[[:space:]]*($|//|#)' || true; }
share() { awk -v t="$1" -v s="$2" 'BEGIN { printf "tests and fuzz %d, src %d: %.1f %% tests\n", t, s, 100 * t / (t + s) }'; }
echo "by cloc:        $(share "$(cloc_count tests fuzz)" "$(cloc_count src)")"
echo "by plain count: $(share "$(plain_count tests fuzz)" "$(plain_count src)")"
