#!/usr/bin/env bash
# Checks the direction of dependence between the folders in what the sources include: every
# "..." include is resolved to the file it names (as the compiler finds it: next to the file,
# then in the include directories) and must be a header of a folder the including folder may
# use; every <...> include of a library outside the language's own must come from the one
# folder that wraps that library.
#   base     <- everything in platform/ (handles, memory blocks, pixel surfaces)
#   gdi      -> base                    display -> base; a driver -> display, base
#   user     -> gdi, display, drivers, base, layer.h (which it implements)
#   entry    -> layer.h, win32.h        designer -> vorla.h only
#   vorla.h  -> win32_entry.h (the part of win32.h a WinMain program needs)
#   runtime  -> win32.h, and the headless driver's headless.h for a program's headless run
#   tools    -> the layer's public headers (win32.h, layer.h, the headless driver's headless.h),
#               the runtime, the designer, the tests' helpers
#   SDL, Xlib: display/sdl only; FreeType, fontconfig: gdi only; emscripten: display/web only;
#   zlib: display/headless only; Windows' <windows.h>: win32.h, vorla.h and the tools for
#   Windows only; runtime and designer: the C++ standard library only, but for the system's
#   file lock in the script file.
#   examples -> vorla.h and the C and C++ standard libraries only, as anyone's program.
# Prints each include that breaks the rules and fails; run by CTest (include_directions).
set -euo pipefail
cd "$(dirname "$0")/../.."

# The folder a file belongs to, as the rules name it (into $area).
set_area() {
  local rest
  case $1 in
    platform/win32.h | platform/win32_entry.h) area=win32 ;;
    platform/layer.h) area=layer ;;
    platform/display/*/*)
      rest=${1#platform/display/}
      area=display/${rest%%/*}
      ;;
    platform/*/*)
      rest=${1#platform/}
      area=${rest%%/*}
      ;;
    runtime/vorla.h) area=vorla ;;
    runtime/* | designer/* | tools/* | tests/* | examples/*) area=${1%%/*} ;;
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
    user) echo "user gdi display display/sdl display/headless display/web base win32 layer" ;;
    layer) echo "layer" ;;
    entry) echo "entry layer win32" ;;
    win32) echo "win32" ;;
    vorla) echo "vorla win32" ;;
    runtime) echo "runtime vorla win32 display/headless" ;;
    designer) echo "designer vorla" ;;
    examples) echo "vorla" ;;
    tools) echo "tools win32 layer display/headless vorla runtime designer tests" ;;
  esac
}

# The library a <...> header belongs to, if it is one that only one folder may use.
library_of() {
  case $1 in
    SDL.h | SDL_*.h | SDL2/*) echo "SDL display/sdl" ;;
    ft2build.h | freetype/* | fontconfig/*) echo "FreeType-fontconfig gdi" ;;
    emscripten.h | emscripten/*) echo "emscripten display/web" ;;
    zlib.h) echo "zlib display/headless" ;;
    windows.h) echo "Windows vorla,win32,tools" ;;
    X11/*) echo "Xlib display/sdl" ;;
    wayland-*) echo "the-window-system none" ;;
  esac
}

# The C++ standard library's headers (and C's, in their <cname> form, and for programs in C
# in their <name.h> form).
standard_header() {
  [[ $1 =~ ^(assert|ctype|errno|float|limits|math|stdarg|stdbool|stddef|stdint|stdio|stdlib|string|time)\.h$ ]] ||
    [[ $1 =~ ^(c[a-z]+|algorithm|any|array|atomic|bit|bitset|charconv|chrono|compare|concepts|deque|exception|filesystem|format|forward_list|fstream|functional|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|locale|map|memory|mutex|new|numbers|numeric|optional|ostream|queue|random|ranges|ratio|regex|set|span|sstream|stack|stdexcept|streambuf|string|string_view|system_error|thread|tuple|type_traits|typeinfo|unordered_map|unordered_set|utility|valarray|variant|vector|version)$ ]]
}

bad=0
while IFS= read -r file; do
  set_area "$file"
  from=$area
  may=" $(allowed "$from") "
  here=${file%/*}
  while IFS= read -r name; do
    target=
    for dir in "$here" platform runtime designer tests tools tools/wine; do
      if [ -f "$dir/$name" ]; then
        target=$(realpath -m --relative-to=. "$dir/$name")
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
  while IFS= read -r name; do
    read -r library owner <<<"$(library_of "$name")"
    if [ -n "${library:-}" ] && [[ ",$owner," != *",$from,"* ]]; then
      echo "$file: includes <$name> ($library belongs to ${owner/none/no folder} alone)"
      bad=1
    elif [ "$file" = runtime/script_file.cpp ] &&
      [[ $name =~ ^(fcntl\.h|sys/file\.h|unistd\.h|share\.h)$ ]]; then
      :  # the script file's lock, by the system's own calls
    elif [ -z "${library:-}" ] && { [ "$from" = runtime ] || [ "$from" = designer ] ||
      [ "$from" = vorla ] || [ "$from" = examples ]; } && ! standard_header "$name"; then
      echo "$file: includes <$name> ($from uses the C++ standard library alone)"
      bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$file")
done < <(find platform runtime designer tools examples -name '*.h' -o -name '*.c' -o -name '*.cpp' |
  sort)
exit $bad
