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
  local install="apt-get install -y --no-install-recommends $*"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}"
    echo "Run this line once as root, then run this script again:"
    echo "  apt-get update && $install"
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The program: compiler, build tools, SDL2, Xlib, FreeType, fontconfig, zlib, and the fonts it picks
# (DejaVu; Liberation Sans as Arial's metric twin).
BUILD_PACKAGES=(cmake make g++ pkg-config libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev
  zlib1g-dev fonts-dejavu-core fonts-liberation2)
# The checker of a class's programs (vorla-check): bubblewrap, its sandbox.
CHECK_PACKAGES=(bubblewrap)
# The tests and benchmarks besides: GoogleTest, Google Benchmark, the oblique and condensed
# DejaVu faces the font tests ask for, Cairo for a comparison benchmark, desktop-file-validate,
# and jq and xmllint, which read the checker's reports.
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" "${CHECK_PACKAGES[@]}" libgtest-dev libbenchmark-dev
  fonts-dejavu-extra libcairo2-dev desktop-file-utils jq libxml2-utils)

# Unpacks Debian's source package `name` (with Debian's patches applied) into `dir`, adding a
# deb-src entry for the system's own Debian suites when apt has none. Usage: need_source pkg dir
need_source() {
  local name=$1 dir=$2
  [ -d "$dir" ] && return 0
  if ! apt-get source --print-uris -q "$name" >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "No deb-src entry for apt. As root, add one (Types: deb-src) to"
      echo "/etc/apt/sources.list.d/ and run apt-get update; then run this script again."
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

# fontTools cuts the page's fonts down; munkres stands in for the larger SciPy it may use.
WEB_PACKAGES=(cmake make emscripten python3 python3-fonttools python3-munkres fonts-liberation2
  fonts-dejavu-core)

# The build folder a script uses: DEFAULT when this user may write there, else a folder of the
# user's own under ~/.cache, said in one line (a checkout whose build/ was made by root, and a
# user who runs the same command later, would otherwise fail to write CMakeCache.txt).
# Usage: build=$(build_folder DEFAULT)
build_folder() {
  local default=$1
  if { [ -d "$default" ] && [ -w "$default" ] &&
    { [ ! -e "$default/CMakeCache.txt" ] || [ -w "$default/CMakeCache.txt" ]; }; } ||
    { [ ! -e "$default" ] && [ -w "$(dirname "$default")" ]; }; then
    echo "$default"
    return
  fi
  local own
  own=${XDG_CACHE_HOME:-$HOME/.cache}/vorla/$(basename "$default")-$(realpath -m "$default" |
    md5sum | cut -c1-8)
  echo "$default belongs to $(stat -c %U "$default" 2>/dev/null || echo another user);" \
    "building in $own instead" >&2
  mkdir -p "$own"
  echo "$own"
}
