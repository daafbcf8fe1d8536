#!/usr/bin/env bash
# Compiles every C and C++ code block of the reference (docs/*.md), so that none goes stale:
# a block with main( or WinMain( is built as a whole program against the library of BUILD_DIR
# (WinMain ones with vorla_main), any other as the body of a function after #include "vorla.h".
# Warnings are errors. Usage: check-docs.sh BUILD_DIR   (run by CTest: Docs.CodeBlocksCompile)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each block into a file of its own: PAGE-N.c or PAGE-N.cpp.
for page in "$root"/docs/*.md; do
  awk -v out="$work/$(basename "$page" .md)" '
    match($0, /^ *```(c|cpp) *$/) { lang = $0; gsub(/[ `]/, "", lang); n++; file = out "-" n "." lang; next }
    /^ *``` *$/ && file { close(file); file = ""; next }
    file { sub(/^   /, ""); print > file }' "$page"
done

flags=(-Wall -Wextra -Werror -I"$root/runtime" -I"$root/platform")
failures=0
count=0
for block in "$work"/*.c "$work"/*.cpp; do
  [ -e "$block" ] || continue
  count=$((count + 1))
  case $block in
    *.c) compiler=(cc -std=c99) ;;
    *) compiler=(c++ -std=c++20) ;;
  esac
  name=$(basename "$block")
  if grep -q 'main(' "$block"; then
    libraries=(-L"$build" -lvorla -Wl,-rpath,"$build")
    grep -q 'WinMain(' "$block" && libraries=(-L"$build" -lvorla_main "${libraries[@]}")
    command=("${compiler[@]}" "${flags[@]}" "$block" -o "$block.out" "${libraries[@]}")
  else
    whole=$work/whole-$name
    {
      printf '#include <math.h>\n#include <stdio.h>\n#include <string.h>\n#include "vorla.h"\n'
      printf 'void fragment(void);\nvoid fragment(void) {\n'
      cat "$block"
      printf '}\n'
    } >"$whole"
    command=("${compiler[@]}" "${flags[@]}" -fsyntax-only "$whole")
  fi
  if ! output=$("${command[@]}" 2>&1); then
    echo "FAILED: ${name%.*} (block ${name##*-} of docs/${name%-*}.md)"
    printf '%s\n' "$output"
    failures=$((failures + 1))
  fi
done
echo "$count code blocks, $failures failed"
[ "$count" -gt 0 ] && [ "$failures" -eq 0 ]
