#!/usr/bin/env bash
# Checks a class's programs against one model picture: the short form of vorla-check, kept for
# the command line it has always had. It runs the checker built in this checkout, else the
# installed one (VORLA_CHECK names another).
# Usage: check-programs.sh [-t TICKS] FOLDER SCRIPT EXPECTED.png
# The reports go to FOLDER/checked (report.html, report.json, junit.xml, report.csv, and per
# student the picture, the pictures side by side, the output); the exit status is 0 when every
# picture is the same as EXPECTED.png, 1 when one is not, 2 when the check cannot be made.
set -euo pipefail

ticks=0
if [ "${1:-}" = "-t" ]; then
  ticks=$2
  shift 2
fi
if [ $# -ne 3 ]; then
  echo "usage: $0 [-t TICKS] FOLDER SCRIPT EXPECTED.png" >&2
  exit 2
fi
checker=${VORLA_CHECK:-$(dirname "$0")/../build/vorla-check}
if [ ! -x "$checker" ]; then
  checker=$(command -v vorla-check) || {
    echo "$0: no vorla-check: build this checkout (bash tools/test.sh) or install it" >&2
    exit 2
  }
fi
exec "$checker" --ticks "$ticks" -o "$1/checked" "$1" "$2" "$3"
