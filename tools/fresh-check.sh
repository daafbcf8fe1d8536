#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a Debian 12 with nothing but the base
# system: makes a minimal root with debootstrap (kept between runs), copies it to a fresh root,
# clones this checkout's committed HEAD into it and there, as root, runs `bash tools/test.sh`
# (every test must pass) and `bash tools/run.sh` without a display (it must fail and say so).
# With --ci it runs all of CI there (.ci/run, which ends with tools/test.sh) in place of the
# tests alone: the cross-build, the sanitizers, the fuzzers and the browser test.
# With --packages DIR it installs the Debian packages of DIR there instead (tools/package.sh
# makes them), uses them and removes them (tests/package/installed.sh), without building.
# Not part of CI: it builds everything from nothing and takes 15-25 minutes (--ci took 17 here,
# with the packages already downloaded by an earlier run).
# Run as root. Usage: tools/fresh-check.sh [--ci | --packages DIR]
#   VORLA_FRESH_CACHE  where the base root and downloaded packages are kept
#                      (default /var/cache/vorla-fresh-check)
#   VORLA_DEBIAN_MIRROR  the Debian mirror (default http://deb.debian.org/debian)
set -euo pipefail
check="bash tools/test.sh"
debs=""
case "${1:-}" in
  "") ;;
  --ci) check="CI=true bash .ci/run" ;;
  --packages)
    debs=$(realpath "${2:-}")
    check="VORLA_THROWAWAY_ROOT=1 bash tests/package/installed.sh /root/debs"
    ;;
  *) echo "usage: tools/fresh-check.sh [--ci | --packages DIR]" >&2; exit 2 ;;
esac
if [ -n "$debs" ] && ! compgen -G "$debs/*.deb" >/dev/null; then
  echo "fresh-check: no .deb in $debs" >&2
  exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${VORLA_FRESH_CACHE:-/var/cache/vorla-fresh-check}
mirror=${VORLA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
base=$cache/base
root=$cache/root
archives=$cache/archives

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: run as root (debootstrap, pivot_root and mount need it)." >&2
  exit 1
fi
# The mounts live in a mount namespace of the check's own, so they vanish with it however the
# run ends; they are also taken down on exit.
if [ -z "${VORLA_FRESH_NAMESPACE:-}" ]; then
  VORLA_FRESH_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
for tool in debootstrap git; do
  command -v "$tool" >/dev/null || {
    echo "fresh-check: needs $tool (as root: apt-get install -y debootstrap git)" >&2
    exit 1
  }
done
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  echo "fresh-check: note: uncommitted changes are not checked, only HEAD."
fi

# Everything mounted below $root, innermost last.
mounts_under() { awk -v r="$1" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }
unmount_all() {
  local m
  for m in $(mounts_under "$root" | sort -r); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
}
trap unmount_all EXIT
trap 'exit 130' INT TERM

# The base root: made once, then only copied.
if [ ! -e "$base/.complete" ]; then
  echo "== debootstrap bookworm (minbase) into $base"
  rm -rf "$base"
  mkdir -p "$base"
  debootstrap --variant=minbase bookworm "$base" "$mirror"
  touch "$base/.complete"
fi

echo "== fresh root $root"
unmount_all
if [ -n "$(mounts_under "$root")" ]; then
  echo "fresh-check: $root still has mounts; not removing it." >&2
  exit 1
fi
rm -rf "$root"
cp -a "$base" "$root"
rm "$root/.complete"
# The host's network settings: its name server, and the certificate authorities it adds to
# Debian's (a proxy's own, for instance), which the root's ca-certificates takes in when apt
# installs it.
cp /etc/resolv.conf "$root/etc/resolv.conf"
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
fi
mount -t proc proc "$root/proc"
mount --bind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"  # Chromium's shared memory
mount -t tmpfs tmpfs "$root/tmp"
# Downloaded packages are kept between runs; they are still installed afresh each time.
mkdir -p "$archives/partial"
mount --bind "$archives" "$root/var/cache/apt/archives"

git clone -q --no-hardlinks "$repo" "$root/root/cone-designer"
echo "checked out: $(git -C "$root/root/cone-designer" log -1 --format='%h %s')"

# The root is entered as the root of a mount namespace of its own (pivot_root), not with
# chroot: a process under chroot may not make user namespaces, which the checker's sandboxes
# (bubblewrap) need.
in_root() {
  unshare --mount --propagation private /bin/sh -c '
    set -e
    mount --rbind "$1" "$1"
    cd "$1"
    mkdir -p .host
    pivot_root . .host
    umount -l /.host
    rmdir /.host
    exec chroot / /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "cd /root/cone-designer && $2"' sh "$root" "$1"
}

if [ -n "$debs" ]; then
  mkdir "$root/root/debs"
  cp "$debs"/*.deb "$root/root/debs/"
fi

echo "== $check"
in_root "$check"
[ -n "$debs" ] && exit 0

echo "== bash tools/run.sh without a display"
set +e
out=$(in_root "timeout 600 bash tools/run.sh" 2>&1)
status=$?
set -e
printf '%s\n' "$out" | tail -n 5
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ] || ! grep -q '^cone-designer: .*display' <<<"$out"; then
  echo "fresh-check: FAILED: run.sh without a display exited $status without saying why." >&2
  exit 1
fi
echo "fresh-check: passed (run.sh without a display exited $status and said so)."
