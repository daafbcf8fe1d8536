#!/usr/bin/env bash
# Checks a class's programs against one model picture: builds every FOLDER/*.c and FOLDER/*.cpp
# against the installed library (pkg-config's vorla, or vorla-main for a program that begins at
# WinMain), runs each without a screen with the script's input (and TICKS more timer ticks), and
# compares its picture with EXPECTED.png. Make EXPECTED.png from the model answer the same way:
#   VORLA_DISPLAY=headless VORLA_PLAY=SCRIPT VORLA_SNAPSHOT=EXPECTED.png ./model
# Usage: check-programs.sh [-t TICKS] FOLDER SCRIPT EXPECTED.png
# Writes FOLDER/checked/NAME.png, NAME.log (the program's log) and, when a build fails,
# NAME.build.txt; prints one line per program; exits 0 when every picture is the same, else 1.
set -uo pipefail

ticks=0
if [ "${1:-}" = "-t" ]; then
  ticks=$2
  shift 2
fi
if [ $# -ne 3 ]; then
  echo "usage: $0 [-t TICKS] FOLDER SCRIPT EXPECTED.png" >&2
  exit 2
fi
folder=$1
script=$(realpath "$2")
expected=$(realpath "$3")
pkg-config --exists vorla || {
  echo "$0: pkg-config finds no vorla (install the library, or set PKG_CONFIG_PATH)" >&2
  exit 2
}

out=$folder/checked
mkdir -p "$out"
all_same=0
for source in "$folder"/*.c "$folder"/*.cpp; do
  [ -e "$source" ] || continue
  name=$(basename "${source%.*}")
  package=vorla
  grep -q WinMain "$source" && package=vorla-main
  compiler=${CC:-cc}
  [ "${source##*.}" = cpp ] && compiler=${CXX:-c++}
  # shellcheck disable=SC2046  # pkg-config's words are separate arguments
  if ! "$compiler" "$source" -o "$out/$name" $(pkg-config --cflags --libs $package) \
    >"$out/$name.build.txt" 2>&1; then
    echo "NO BUILD  $name"
    all_same=1
    continue
  fi
  rm -f "$out/$name.build.txt" "$out/$name.png"
  # The program runs in the checked folder, so that a VORLA.SCR it writes stays there.
  (cd "$out" && VORLA_DISPLAY=headless VORLA_PLAY="$script" VORLA_TICKS=$ticks \
    VORLA_SNAPSHOT="$name.png" VORLA_LOG="$name.log" timeout 10 "./$name" >/dev/null 2>&1)
  status=$?
  if [ $status -eq 124 ]; then
    echo "TIMEOUT   $name"
    all_same=1
  elif [ $status -ne 0 ]; then
    echo "STATUS $status  $name"
    all_same=1
  elif cmp -s "$out/$name.png" "$expected"; then
    echo "same      $name"
  else
    echo "DIFFERENT $name"
    all_same=1
  fi
done
exit $all_same
