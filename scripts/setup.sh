# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build needs (only those missing), then configures and builds build/.
set -euo pipefail
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_BUILD=${QV_BUILD:-$QV_ROOT/build}

QV_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev
             libbenchmark-dev nlohmann-json3-dev clang-14 libclang-rt-14-dev)

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

qv_install_packages "${QV_PACKAGES[@]}"
