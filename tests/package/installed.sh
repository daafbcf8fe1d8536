#!/usr/bin/env bash
# The Debian packages installed, used and removed as users do, on a Debian 12 that has nothing
# else of them: `apt install ./*.deb` with the four packages of DEBS; the program, its menu
# entry, a learner's programs and vorla-check at work (packages-at-work.sh); then `apt remove`
# of the four, after which no file of theirs, nor any other new file, is left.
# It installs and removes packages for the whole system: run it as root in a root made for it
# (tools/fresh-check.sh --packages DIR does), which says so with VORLA_THROWAWAY_ROOT=1.
# Usage: installed.sh DEBS
set -uo pipefail
if [ "${VORLA_THROWAWAY_ROOT:-}" != 1 ] || [ "$(id -u)" -ne 0 ]; then
  echo "installed.sh installs and removes packages: run it through tools/fresh-check.sh --packages" >&2
  exit 2
fi
checkout=$(cd "$(dirname "$0")/../.." && pwd)
debs=$(realpath "$1")
packages=(cone-designer libvorla1 libvorla-dev vorla-check)
. "$checkout/tests/package/checks.sh"
export DEBIAN_FRONTEND=noninteractive

echo "== apt install ./*.deb"
apt-get update -q >"$work/apt-update.log" 2>&1 || { tail "$work/apt-update.log"; exit 1; }
started=$SECONDS
if (cd "$debs" && apt-get install -y -q --no-install-recommends ./*.deb) >"$work/apt-install.log" 2>&1; then
  pass "apt installed the packages and $(grep -c '^Setting up' "$work/apt-install.log") in all, in $((SECONDS - started)) s"
else
  tail -n 30 "$work/apt-install.log"
  fail "apt install ./*.deb"
  exit 1
fi
grep -E '^(Setting up (cone-designer|libvorla|vorla-check)|W:|E:)' "$work/apt-install.log"
# The check's own tools, not the packages': installed before the list of the system's files is taken.
apt-get install -y -q --no-install-recommends desktop-file-utils cmake make jq >"$work/apt-tools.log" 2>&1 ||
  { tail "$work/apt-tools.log"; exit 1; }

# Every file and link of the system but the kernel's, the temporary ones, caches, logs and the
# check's own folder.
system_files() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
    -o -path /var/cache -o -path /var/log -o -path /var/lib/apt/lists -o -path /root \) -prune \
    -o ! -type d -print | LC_ALL=C sort
}
system_files >"$work/before-removal.txt"
for package in "${packages[@]}"; do dpkg -L "$package"; done | while IFS= read -r path; do
  if [ ! -d "$path" ]; then echo "$path"; fi
done | LC_ALL=C sort >"$work/theirs.txt"
echo "the packages hold $(wc -l <"$work/theirs.txt") files"

echo "== the packages at work"
bash "$checkout/tests/package/packages-at-work.sh" /usr || failures=$((failures + 1))

echo "== apt remove"
if apt-get remove -y -q "${packages[@]}" >"$work/apt-remove.log" 2>&1; then
  pass "apt removed $(grep -c '^Removing' "$work/apt-remove.log") packages"
else
  tail "$work/apt-remove.log"
  fail "apt remove"
fi
system_files >"$work/after-removal.txt"
left=$(LC_ALL=C comm -12 "$work/theirs.txt" "$work/after-removal.txt")
added=$(LC_ALL=C comm -13 "$work/before-removal.txt" "$work/after-removal.txt")
states=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null | grep -v ' un *$')
if [ -z "$left" ] && [ -z "$added" ] && [ -z "$states" ]; then
  pass "none of the packages' $(wc -l <"$work/theirs.txt") files is left, no file was added, dpkg knows them no more"
else
  fail "after apt remove: files left: ${left:-none}; files added: ${added:-none}; dpkg: ${states:-nothing}"
fi

finish installed.sh
