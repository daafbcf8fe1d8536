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

# The program: compiler, build tools, SDL2, FreeType, fontconfig, zlib, and the fonts it picks
# (DejaVu; Liberation Sans as Arial's metric twin).
BUILD_PACKAGES=(cmake make g++ pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev
  zlib1g-dev fonts-dejavu-core fonts-liberation2)
# The tests and benchmarks besides: GoogleTest, Google Benchmark, the oblique and condensed
# DejaVu faces the font tests ask for, Cairo for a comparison benchmark, and desktop-file-validate.
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev fonts-dejavu-extra
  libcairo2-dev desktop-file-utils)
