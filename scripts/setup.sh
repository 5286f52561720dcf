# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build needs (only those missing), then configures and builds build/.
set -euo pipefail
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_BUILD=${QV_BUILD:-$QV_ROOT/build}

QV_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev
             libbenchmark-dev nlohmann-json3-dev clang-14 libclang-rt-14-dev
             fonts-liberation2 pkgconf libmuparser-dev libssl-dev libreoffice-dev)
# What only the tests need: an office to drive, a virtual display for the
# screenshots, and the package checkers.
QV_TEST_PACKAGES=(libreoffice-writer-nogui xvfb xauth desktop-file-utils lintian
                  shared-mime-info dpkg-dev fakeroot file unzip
                  poppler-utils clang-format-14)

qv_install_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

qv_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$QV_ROOT" -B "$dir" -G Ninja "$@" >&2
  fi
  cmake --build "$dir" -j "$(nproc)" >&2
}

# A decimal-comma locale, so the tests can show that numbers keep their point
# whatever locale the user runs.
qv_comma_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  qv_install_packages locales
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 >&2 || echo "No de_DE.UTF-8 locale: the locale tests will skip." >&2
}

# Building the package: its icons are rendered from the SVG; its check reads
# the MIME XML and the manual pages.
QV_PACKAGES+=(librsvg2-bin)
QV_TEST_PACKAGES+=(libxml2-utils man-db)
# The window tests switch the platform's accessibility on to hear its events.
QV_TEST_PACKAGES+=(qt6-base-private-dev)

qv_install_packages "${QV_PACKAGES[@]}"
qv_comma_locale
