#!/usr/bin/env bash
# Counts non-blank lines of product code (C++ of every product folder, the Python tools, the
# scripts and the build files) and of tests (tests/ and fuzz/, corpora and golden records
# excluded), and prints their ratio. Our rule: tests are a quarter to a third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."

count() { if (($# == 0)); then echo 0; else cat "$@" | grep -c -v '^[[:space:]]*$' || true; fi; }

mapfile -t code < <(git ls-files generation galaxy files export app cli texgen platform text plugin \
  tools scripts CMakeLists.txt '*/CMakeLists.txt' | grep -E '\.(h|cpp|py|sh|txt)$' |
  grep -v -E '^(tests|fuzz)/')
mapfile -t tests < <(git ls-files tests fuzz | grep -E '\.(h|cpp|py|sh|txt)$' |
  grep -v -E '^tests/golden/expected/|^fuzz/corpus/')

code_lines=$(count "${code[@]}")
test_lines=$(count "${tests[@]}")
echo "code  ${code_lines} lines in ${#code[@]} files"
echo "tests ${test_lines} lines in ${#tests[@]} files"
awk -v t="$test_lines" -v c="$code_lines" 'BEGIN { printf "ratio %.2f (rule: 0.25 to 0.33)\n", t / c }'
