#!/usr/bin/env bash
# A class checked end to end, as a teacher would: correct and equivalent answers, a wrong
# colour, a syntax error, a crash, an early exit, a sleeper, a loop that ignores SIGTERM, a
# snoop (another student's file, $HOME, /etc/passwd, the network), a flood of output, a fork
# bomb, a 4 GB allocation, a 1 GB file, a name line that a mask hides, and two students who hand
# in folders. Every verdict must be right, nothing outside the sandboxes touched, nothing left
# running, the reports well-formed, and a second run the same apart from times.
# Usage: check_class.sh CHECKER GIVEN SANITIZED   (GIVEN holds alice.c, script.scr, expected.png)
set -uo pipefail
checker=$1
given=$2
sanitized=$3
work=$PWD/check-class
rm -rf "$work"
mkdir -p "$work/class" "$work/home"
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
uid=$((3300000 + $$ % 10000))
class=$work/class
echo "the teacher's" >"$work/home/canary.txt"

# Every program is the model answer (a red dot where the user clicked last) with a change:
# BEFORE runs after gfx_startup, EACH at every event.
program() {
  local file=$1 before=$2 each=${3:-}
  mkdir -p "$(dirname "$class/$file")"
  cat >"$class/$file" <<PROGRAM
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>
#include "vorla.h"
int main(void) {
  int x = 0, y = 0, events = 0;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_erase();
  $before
  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
    ++events;
    $each
    gfx_erase();
    gfx_circle(COLOUR_RED, x, y, 10);
  }
  return gfx_shutdown() - 1;
}
PROGRAM
}
cp "$given/alice.c" "$class/alice.c"
program equivalent.c 'int r = 5 + 5;' 'gfx_erase(); gfx_circle(COLOUR_RED, x, y, r); continue;'
sed 's/COLOUR_RED/COLOUR_BLUE/' "$given/alice.c" >"$class/colour.c"
program syntax.c 'int broken = 1' ''
program crash.c '' 'if (events == 2) *(volatile int *)0 = 1;'
program early.c '' 'if (events == 2) exit(3);'
program sleeper.c '' 'if (events == 2) sleep(30);'
program stubborn.c 'signal(SIGTERM, SIG_IGN);' 'if (events == 2) { fork(); for (;;) {} }'
program named.c 'gfx_text(COLOUR_BLACK, -290, 240, 14, "Named Student");' \
  'gfx_erase(); gfx_text(COLOUR_BLACK, -290, 240, 14, "Named Student");
   gfx_circle(COLOUR_RED, x, y, 10); continue;'
program chatty.c 'for (int i = 0; i < 163840; ++i) printf("%063d\n", i);'
program bomb.c 'int made = 0; pid_t child; FILE* f;
  while ((child = fork()) >= 0 && ++made < 1000) if (child == 0) for (;;) pause();
  f = fopen("forks.txt", "w"); fprintf(f, "%d\n", made); fclose(f);
  for (;;) fork();'
program hog.c 'char* p = malloc((size_t)4 << 30); if (!p) return 5; memset(p, 1, (size_t)4 << 30);'
program writer.c 'static char block[1 << 20]; FILE* f = fopen("big.bin", "wb");
  for (int i = 0; i < 1024; ++i) fwrite(block, 1, sizeof block, f);'
# Whatever it reaches outside its sandbox sets a bit of its exit status.
program snoop.c "int seen = 0, s; struct sockaddr_in a = {0};
  if (open(\"/etc/passwd\", O_RDONLY) >= 0) seen |= 1;
  if (open(\"$work/home/canary.txt\", O_RDONLY) >= 0 || unlink(\"$work/home/canary.txt\") == 0) seen |= 2;
  if (open(\"$class/alice.c\", O_RDONLY) >= 0) seen |= 4;
  if (open(\"$class/planted.c\", O_WRONLY | O_CREAT, 0644) >= 0) seen |= 8;
  s = socket(AF_INET, SOCK_STREAM, 0); a.sin_family = AF_INET; a.sin_port = htons(80);
  a.sin_addr.s_addr = htonl(0xC0000201);
  if (connect(s, (struct sockaddr *)&a, sizeof a) == 0 || errno != ENETUNREACH) seen |= 16;
  if (seen) return seen;"
# Links it leaves behind must not be followed when its files are kept (the checker reads them
# as root): one in its folder, one in place of its log.
program linker.c 'symlink("/etc/shadow", "shadow"); unlink("/tmp/out/log.txt");
  symlink("/etc/shadow", "/tmp/out/log.txt");'
# A name that HTML, XML, JSON and CSV must all escape.
cp "$given/alice.c" "$class/o'neil <b>&amp; \"x\", y.c"
# Folders: a program in two files with a header, and a C++ program that begins at WinMain.
program erin/main.c 'void draw(int, int); draw(0, 0);' 'draw(x, y); continue;'
cat >"$class/erin/draw.c" <<'DRAW'
#include "vorla.h"
#include "draw.h"
void draw(int x, int y) { gfx_erase(); gfx_circle(COLOUR_RED, x, y, DOT); }
DRAW
echo '#define DOT 10' >"$class/erin/draw.h"
mkdir -p "$class/frank/src"
sed -e 's/int main(void) {/int WINAPI WinMain(HINSTANCE i, HINSTANCE p, LPSTR c, int s) {/' \
  -e 's/gfx_startup(0, 0, 0, SW_SHOWNORMAL)/gfx_startup(i, p, c, s)/' "$given/alice.c" \
  >"$class/frank/src/app.cpp"
expected_verdicts="alice same
bomb timeout
chatty same
colour different
crash crashed
early exit-status
equivalent same
erin same
frank same
hog exit-status
linker same
named same
o'neil <b>&amp; \"x\", y same
sleeper timeout
snoop same
stubborn timeout
syntax no-build
writer crashed"
crash_reason=SIGSEGV
if [ "$sanitized" = 1 ]; then
  # A sanitizer's program reserves terabytes of address space: no memory limit to try. And the
  # sanitizer, not a signal, ends the crash.
  rm "$class/hog.c"
  expected_verdicts=$(grep -v '^hog ' <<<"$expected_verdicts" | sed 's/^crash crashed$/crash exit-status/')
  crash_reason="null pointer"
fi
untouched() { (cd "$work" && find class home -type f -exec md5sum {} + | sort); }
before=$(untouched)

run_class() {
  HOME=$work/home "$checker" -j "$1" --timeout 2 --mask 0,0,595,40 --uid "$uid" \
    -o "$work/out" "$class" "$given/script.scr" "$given/expected.png" >"$work/table.txt"
}
start=$SECONDS
run_class 2
status=$?
echo "class of $(wc -l <<<"$expected_verdicts") checked with -j 2 in $((SECONDS - start)) s"
cat "$work/table.txt"
[ $status = 1 ] || fail "the checker's exit status is $status, not 1"
report=$work/out/report.json
got=$(jq -r '.students[] | "\(.name) \(.verdict)"' "$report")
[ "$got" = "$expected_verdicts" ] || fail "verdicts: $(diff <(echo "$expected_verdicts") <(echo "$got"))"
field() { jq -r --arg n "$1" ".students[] | select(.name == \$n) | $2" "$report"; }

# Nothing outside the sandboxes touched, nothing left running.
[ "$(untouched)" = "$before" ] || fail "files outside the sandboxes changed"
[ ! -e "$class/planted.c" ] || fail "a program wrote into the class folder"
[ -z "$(ps -u "$uid" -o pid= 2>/dev/null)" ] || fail "processes left: $(ps -u "$uid" -o pid=,args=)"

# The verdicts' details.
[ "$(field linker '.files[] | select(.name == "shadow") | .kept')" = false ] &&
  [ "$(field linker .log)" = null ] && ! grep -rq 'root:' "$work/out/students/linker" ||
  fail "a link left by a program was followed"
[[ $(field crash .reason) == *"$crash_reason"* ]] || fail "crash: $(field crash .reason)"
[ "$(field crash .picture_is_last_shown)" = true ] && [ -s "$work/out/$(field crash .picture)" ] ||
  fail "no picture of the crash marked as the last one shown"
# Its last picture is the one a program that exits at the same point leaves at its end.
[ "$(field crash .pixels)" -gt 0 ] && [ "$(field crash .pixels)" = "$(field early .pixels)" ] ||
  fail "the crash's last picture: $(field crash .pixels) pixels differ, not $(field early .pixels)"
[ "$(field early .exit_status)" = 3 ] || fail "early: $(field early .reason)"
[[ $(field writer .reason) == *SIGXFSZ* ]] || fail "writer: $(field writer .reason)"
[ "$sanitized" = 1 ] || [ "$(field hog .exit_status)" = 5 ] || fail "hog: $(field hog .reason)"
[[ $(field syntax .reason) == *error* ]] || fail "syntax: $(field syntax .reason)"
forks=$(cat "$work/out/students/bomb/files/forks.txt")
[ "$forks" -lt 32 ] || fail "the fork bomb made $forks processes"
[ "$(field chatty .stdout_bytes)" = 10485760 ] &&
  [ "$(stat -c %s "$work/out/students/chatty/stdout.txt")" -lt 70000 ] ||
  fail "chatty's output is not cut to a size"
[ "$(field named .pixels)" = 0 ] || fail "the mask does not hide the name line"

# The reports are well-formed and say the same.
jq empty "$report" || fail "report.json is not JSON"
xmllint --noout "$work/out/junit.xml" "$work/out/report.html" || fail "junit.xml or report.html"
n=$(wc -l <<<"$expected_verdicts")
failing=$(grep -cv ' same$' <<<"$expected_verdicts")
[ "$(xmllint --xpath 'count(//testcase)' "$work/out/junit.xml")" = "$n" ] &&
  [ "$(xmllint --xpath 'count(//testcase/failure)' "$work/out/junit.xml")" = "$failing" ] &&
  [ "$(xmllint --xpath 'string(/testsuites/@failures)' "$work/out/junit.xml")" = "$failing" ] ||
  fail "junit.xml does not count $n cases, $failing failing"
[ "$(grep -c '^<tr id=' "$work/out/report.html")" = "$n" ] || fail "report.html rows"
[ "$(($(wc -l <"$work/out/report.csv") - 1))" = "$n" ] || fail "report.csv rows"

# Again: the same report apart from times, and nothing of the first run left.
cp "$report" "$work/first.json"
touch "$work/out/stray.txt"
run_class 2
without_times() { grep -v '_seconds"' "$1"; }
diff <(without_times "$work/first.json") <(without_times "$report") || fail "a second run differs"
[ ! -e "$work/out/stray.txt" ] || fail "a file of the earlier report is left"
exit $failures
