# Sourced by the run and test scripts: installs the Debian packages a script needs, or tells a
# non-root user the one command that installs them.
# Usage: need_packages pkg...
need_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run this once, then run this script again:"
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake make g++ pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core zlib1g-dev)
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev)

# Unpacks Debian's source package `name` (with Debian's patches applied) into `dir`, adding a
# deb-src entry for the system's own Debian suites when apt has none. Usage: need_source pkg dir
need_source() {
  local name=$1 dir=$2
  [ -d "$dir" ] && return 0
  if ! apt-get source --print-uris -q "$name" >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "No deb-src entry for apt: add one (Types: deb-src) to /etc/apt/sources.list.d/, run"
      echo "  sudo apt-get update"
      echo "and run this script again."
      exit 1
    fi
    echo "Adding a deb-src entry for Debian's sources"
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cat >/etc/apt/sources.list.d/debian-src.sources <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $release $release-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt-get update -q
  fi
  need_packages dpkg-dev
  local work
  work=$(mktemp -d)
  (cd "$work" && apt-get source -q "$name" >/dev/null)
  mkdir -p "$(dirname "$dir")"
  mv "$work"/"$name"-*/ "$dir"
  rm -rf "$work"
}

WEB_PACKAGES=(cmake make emscripten python3 fonts-liberation2 fonts-dejavu-core)
