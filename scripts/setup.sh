#!/usr/bin/env bash
# Installs what is missing, builds, and then either starts the program (run)
# or runs every test (test). Safe to run again: it only installs what is
# missing and rebuilds what changed. Needs root for the package installation.
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-run}"
build_dir="${NADAVO_BUILD_DIR:-build}"

build_packages=(build-essential cmake pkg-config ninja-build ccache juce-modules-source
  libjack-jackd2-dev ladspa-sdk libgtest-dev libbenchmark-dev
  fonts-amiga fonts-proggy fonts-atarismall fonts-sixtyfour fonts-dseg)
run_packages=(jackd2 lame)
test_packages=(xvfb xauth xdotool imagemagick x11-apps openbox jack-tools sox python3-mido
  clang libclang-rt-14-dev)

install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

build() {
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" -j "$(nproc)"
}

case "$mode" in
  run)
    install_missing "${build_packages[@]}" "${run_packages[@]}"
    build
    exec "$build_dir/bin/nadavo-recorder"
    ;;
  test)
    install_missing "${build_packages[@]}" "${run_packages[@]}" "${test_packages[@]}"
    build
    ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600
    ;;
  *)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac
