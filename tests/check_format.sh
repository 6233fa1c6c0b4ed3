#!/usr/bin/env bash
# Fails when a C++ source differs from the repository's .clang-format as clang-format 14
# applies it. Usage: check_format.sh [clang-format program]
set -euo pipefail
cd "$(dirname "$0")/.."
format="${1:-clang-format-14}"
if ! "$format" --version | grep -q 'version 14\.'; then
  echo "needs clang-format 14; $format is: $("$format" --version)"
  exit 1
fi
find src tests tools bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 "$format" --dry-run --Werror
