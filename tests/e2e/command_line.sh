#!/usr/bin/env bash
# The program's own command-line answers: help, version and usage errors, with their exit
# statuses, and a replay that does not parse runs nothing.
# usage: command_line.sh PROGRAM
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect STATUS PATTERN -- ARGS...: exit status and a line of the output
  local status=$1 pattern=$2
  shift 3
  local output
  output=$("$program" "$@" 2>&1)
  local got=$?
  if [ "$got" -ne "$status" ] || ! grep -qE -- "$pattern" <<<"$output"; then
    echo "FAIL: $* -> status $got (expected $status), output:"
    echo "$output" | head -5
    failures=$((failures + 1))
  fi
}

printf 'vorlith-replay 1\n5 Z\n2 Q\n' >"$work/bad.replay"
expect 0 '--replay FILE' -- --help
expect 0 '^Vorlith [0-9]' -- --version
expect 2 'needs --replay' -- --headless
expect 2 'needs --replay' -- --no-pacing -w 800
expect 2 'cannot be used with --headless' -- --replay "$work/bad.replay" --headless --screenshot 1:x.png
expect 2 "^vorlith: $work/bad.replay:3: unknown control 'Q'" -- \
  --headless --replay "$work/bad.replay" --trace "$work/trace.jsonl"
expect 2 "missing.replay: cannot open" -- --headless --replay "$work/missing.replay"
if [ -e "$work/trace.jsonl" ]; then
  echo "FAIL: a replay that does not parse still ran"
  failures=$((failures + 1))
fi

echo "$((8 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
