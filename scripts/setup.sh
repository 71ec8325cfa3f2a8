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
test_packages=(xvfb xauth xdotool imagemagick x11-apps openbox jack-tools sox libsox-fmt-mp3 python3-mido
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

# Let ccache share compiled objects between checkouts in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

build() {
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" -j "$(nproc)"
}

# A bounded run of every fuzz target over its seed corpus, built with clang,
# AddressSanitizer and UBSan: any crash, leak or sanitizer report fails it.
fuzz_smoke() {
  local fuzz_dir="$build_dir-fuzz" seconds="${NADAVO_FUZZ_SECONDS:-60}"
  CC=clang CXX=clang++ cmake -S . -B "$fuzz_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNADAVO_FUZZ=ON -DNADAVO_TESTS=OFF -DNADAVO_BENCH=OFF >/dev/null
  local targets
  targets=$(ls fuzz/corpus)
  cmake --build "$fuzz_dir" -j "$(nproc)" --target $(for t in $targets; do echo "fuzz_$t"; done)
  for t in $targets; do
    local work; work=$(mktemp -d)
    echo "Fuzzing $t for ${seconds}s"
    local dict=()
    [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
    if ! "$fuzz_dir/bin/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 "${dict[@]}" \
        -artifact_prefix="$work/" "$work" "fuzz/corpus/$t" >"$work.log" 2>&1; then
      tail -n 60 "$work.log"
      echo "fuzz_$t failed; the input that broke it is in $work"
      return 1
    fi
    grep -E '^(Done|#[0-9]+ *DONE)' "$work.log" | tail -n 1
    rm -rf "$work" "$work.log"
  done
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
    fuzz_smoke
    ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600
    ;;
  *)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac
