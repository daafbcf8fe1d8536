#!/usr/bin/env bash
# The checker as a course's CI uses it: slices of a class checked apart and merged into the
# report of the whole class; the model picture made from the model answer; the installed
# checker finding its library by itself; and the refusals: no submission, a report folder that
# is not one, no sandbox to be had.
# Usage: check_slices.sh CHECKER GIVEN BUILD-DIR   (GIVEN holds alice.c, bob.cpp, script.scr,
#                                                   expected.png)
set -uo pipefail
checker=$1
given=$2
build=$3
work=$PWD/check-slices
rm -rf "$work"
mkdir -p "$work/class/carol" "$work/empty"
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
cp "$given/alice.c" "$given/bob.cpp" "$work/class/"
cp "$given/alice.c" "$work/class/carol/carol.c"
sed 's/COLOUR_RED/COLOUR_GREEN/' "$given/alice.c" >"$work/class/dan.c"
echo 'int main(void) { return 2 }' >"$work/class/eve.c"
check() { "$checker" -q -j 2 "$@" "$given/script.scr" "$given/expected.png"; }
without_times() { grep -v '_seconds"' "$1"; }

check -o "$work/whole" "$work/class" >/dev/null
for i in 1 2 3; do check --shard "$i/3" -o "$work/slice$i" "$work/class" >/dev/null; done
[ "$(jq -r '[.students[].name] | join(" ")' "$work/slice2/report.json")" = "bob eve" ] ||
  fail "slice 2 of 3: $(jq -c '[.students[].name]' "$work/slice2/report.json")"
"$checker" -q --merge -o "$work/merged" "$work/slice"{1,2,3} >/dev/null
diff <(without_times "$work/whole/report.json") <(without_times "$work/merged/report.json") ||
  fail "the merged slices are not the whole class's report"
[ -s "$work/merged/students/eve/build.txt" ] && [ -s "$work/merged/students/bob/diff.png" ] ||
  fail "the merged report lacks the students' files"
# The model answer's own run gives the model picture.
"$checker" -q -o "$work/modelled" --model "$given/alice.c" "$work/class" "$given/script.scr" \
  >/dev/null
cmp -s "$work/modelled/model.png" "$given/expected.png" &&
  diff <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/whole/report.json") \
    <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/modelled/report.json") ||
  fail "the model answer's picture is not the model picture"
out=$("$checker" -q --merge -o "$work/merged2" "$work/slice1" "$work/slice3" 2>&1)
[ $? = 2 ] && [[ $out == *"2 of 3 slices"* ]] || fail "a missing slice is merged: $out"

# Refusals, each with exit status 2 and a reason.
out=$(check -o "$work/out" "$work/empty" 2>&1)
[ $? = 2 ] && [[ $out == *"holds no submission"* ]] || fail "no submission: $out"
mkdir -p "$work/documents" && echo keep >"$work/documents/thesis.txt"
out=$(check -o "$work/documents" "$work/class" 2>&1)
[ $? = 2 ] && [ -s "$work/documents/thesis.txt" ] || fail "a folder that is no report: $out"
# Where bubblewrap cannot make a sandbox (here one that fails as without user namespaces):
# refused, unless told to run unsandboxed. The stand-in lies where the sandbox's user (65534,
# as root) may run it, wherever the build is.
fake=$(mktemp -d)
chmod 755 "$fake"
printf '#!/bin/sh\necho "bwrap: No permissions to creating new namespace" >&2\nexit 1\n' \
  >"$fake/bwrap"
chmod 755 "$fake/bwrap"
out=$(PATH=$fake:$PATH check -o "$work/out" "$work/class" 2>&1)
[ $? = 2 ] && [[ $out == *"Refusing"* ]] && [[ $out == *"No permissions"* ]] ||
  fail "no sandbox, not refused: $out"
# Unsandboxed, the programs run as that user and see what it may see: the build's library too,
# unless the build lies where only root may enter (/root).
if [ "$(id -u)" != 0 ] || setpriv --reuid 65534 --regid 65534 --clear-groups test -r "$build/libvorla.so"; then
  PATH=$fake:$PATH check --unsandboxed -o "$work/unsandboxed" "$work/class" >/dev/null
  diff <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/whole/report.json") \
    <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/unsandboxed/report.json") ||
    fail "unsandboxed, other verdicts"
else
  echo "unsandboxed: not run, user 65534 may not read $build"
fi
rm -rf "$fake"

# Installed in a prefix of its own, it builds and runs programs without pkg-config's or the
# loader's path.
cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
env -u PKG_CONFIG_PATH -u LD_LIBRARY_PATH "$work/prefix/bin/vorla-check" -q -o "$work/installed" \
  "$work/class" "$given/script.scr" "$given/expected.png" >/dev/null
diff <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/whole/report.json") \
  <(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/installed/report.json") ||
  fail "the installed checker gives other verdicts"
exit $failures
