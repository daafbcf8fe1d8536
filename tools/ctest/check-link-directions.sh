#!/usr/bin/env bash
# Checks the direction of dependence between the folders at link time: reads the symbols of the
# built static libraries with nm and fails when a library needs a symbol that a library it must
# not depend on defines (the include check sees only what the sources name).
#   base     -> nothing                display -> base; a driver -> display, base
#   gdi      -> base                   user    -> gdi, display, the drivers, base
#   entry    -> user and below         runtime -> Win32 calls only (nothing of namespace platform),
#   designer -> runtime                           and the headless driver's calls for its run
# Usage: check-link-directions.sh LIBRARY.a...   (the libraries of the folders, named libvorla_*)
# Run by CTest (link_directions).
set -euo pipefail
export LC_ALL=C

# The folder a library stands for, as the rules name it.
area_of() {
  case $(basename "$1" .a) in
    libvorla_platform_base) echo base ;;
    libvorla_platform_gdi) echo gdi ;;
    libvorla_platform_display) echo display ;;
    libvorla_display_*)
      local name
      name=$(basename "$1" .a)
      echo "display/${name#libvorla_display_}"
      ;;
    libvorla_platform_user) echo user ;;
    libvorla_entry) echo entry ;;
    libvorla_runtime) echo runtime ;;
    libvorla_designer) echo designer ;;
    *) echo "unknown library: $1" >&2 && exit 2 ;;
  esac
}

# Whether folder $1 may use folder $2.
may_use() {
  case $1 in
    base) return 1 ;;
    gdi | display) [ "$2" = base ] ;;
    display/*) [ "$2" = display ] || [ "$2" = base ] ;;
    user) [ "$2" != entry ] && [ "$2" != runtime ] && [ "$2" != designer ] ;;
    entry) [ "$2" != runtime ] && [ "$2" != designer ] ;;
    runtime) [ "$2" = user ] || [ "$2" = gdi ] || [ "$2" = base ] || [ "$2" = display/headless ] ;;
    designer) [ "$2" = runtime ] ;;
    *) return 1 ;;
  esac
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every defined global symbol, with the folder that defines it.
for library in "$@"; do
  area=$(area_of "$library")
  nm -g --defined-only "$library" 2>/dev/null | awk -v area="$area" 'NF == 3 { print $3, area }'
done | sort -u >"$work/defined"

bad=0
for library in "$@"; do
  area=$(area_of "$library")
  # What the library needs and does not define itself.
  nm -g --defined-only "$library" 2>/dev/null | awk 'NF == 3 { print $3 }' | sort -u >"$work/own"
  nm -u "$library" 2>/dev/null | awk '{ print $NF }' | sort -u | comm -23 - "$work/own" >"$work/needs"
  while read -r symbol from; do
    [ "$from" = "$area" ] && continue
    name=$(echo "$symbol" | c++filt)
    if ! may_use "$area" "$from"; then
      echo "$area needs $name, defined in $from"
      bad=1
    elif [ "$area" = runtime ] && [[ $name == platform::* ]]; then
      echo "runtime needs $name of the layer's insides (defined in $from); it may use Win32 only"
      bad=1
    fi
  done < <(join "$work/needs" "$work/defined")
done
exit $bad
