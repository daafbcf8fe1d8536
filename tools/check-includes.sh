#!/usr/bin/env bash
# Checks the direction of dependence between the folders: every "..." include in platform/,
# runtime/ and designer/ must name a header of a folder that the including folder may use.
#   base     <- everything            (handles, memory blocks, pixel surfaces)
#   gdi      -> base                   display -> base; a back-end -> display, base
#   user     -> gdi, display, base     runtime -> win32.h only; designer -> vorla.h only
# Prints each include that breaks the rules and fails; run by CTest (include_directions).
set -euo pipefail
cd "$(dirname "$0")/.."

# The folder a file belongs to, as the rules name it (into $area).
set_area() {
  local rest
  case $1 in
    platform/win32.h) area=win32 ;;
    platform/display/*/*)
      rest=${1#platform/display/}
      area=display/${rest%%/*}
      ;;
    platform/*/*)
      rest=${1#platform/}
      area=${rest%%/*}
      ;;
    runtime/vorla.h) area=vorla ;;
    runtime/* | designer/*) area=${1%%/*} ;;
    *) area=other ;;
  esac
}

# The folders whose headers a folder may include.
allowed() {
  case $1 in
    base) echo "base win32" ;;
    gdi) echo "gdi base win32" ;;
    display) echo "display base win32" ;;
    display/*) echo "$1 display base win32" ;;
    user) echo "user gdi display base win32" ;;
    vorla) echo "vorla win32" ;;
    runtime) echo "runtime vorla win32" ;;
    designer) echo "designer vorla" ;;
  esac
}

bad=0
while IFS= read -r file; do
  set_area "$file"
  from=$area
  may=" $(allowed "$from") "
  here=${file%/*}
  while IFS= read -r name; do
    # Where the compiler finds it: next to the file, then in the include directories.
    target=
    for dir in "$here" platform runtime designer; do
      if [ -f "$dir/$name" ]; then
        target=$dir/$name
        break
      fi
    done
    if [ -z "$target" ]; then
      echo "$file: \"$name\" is not a header of the project"
      bad=1
      continue
    fi
    set_area "$target"
    if [[ $may != *" $area "* ]]; then
      echo "$file: includes $target ($from must not depend on $area)"
      bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find platform runtime designer -name '*.h' -o -name '*.cpp')
exit $bad
