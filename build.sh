#!/usr/bin/env bash
# Builds ringedit and starts the editor, or builds it and runs every test.
#   ./build.sh run      build, then start ringedit on this terminal
#   ./build.sh test     build, check that every source is formatted as
#                       .clang-format says, run every test; then the core and
#                       its tests again under AddressSanitizer and
#                       UndefinedBehaviorSanitizer (build-asan/), and a short
#                       pass of every fuzz target (build-fuzz/, clang)
# Packages the build needs are installed first (apt-get), only when missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ make cmake libgtest-dev libgmock-dev tmux clang libclang-rt-14-dev qt6-base-dev poppler-utils libedit-dev libpugixml-dev dpkg-dev file groff-base libbenchmark-dev clang-format)
build_dir=${RINGEDIT_BUILD_DIR:-build}
asan_dir=${RINGEDIT_ASAN_DIR:-build-asan}
fuzz_dir=${RINGEDIT_FUZZ_DIR:-build-fuzz}
jobs=${RINGEDIT_JOBS:-$(nproc 2>/dev/null || echo 2)}

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  install_missing
  # The benchmarks are built so that ctest runs the quick smoke run of each.
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRINGEDIT_BENCH=ON >/dev/null
  cmake --build "$build_dir" -j "$jobs"
}

# Every C++ source and header of the project formatted as .clang-format
# says; a file that is not fails the test command.
format_check() {
  local files=()
  mapfile -t files < <(find app bench common console dialogue fmtio fuzz resources series tests tools \
    -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
  clang-format --dry-run -Werror "${files[@]}" && return 0
  echo "Not formatted: run clang-format -i on the files named above" >&2
  return 1
}

# The core and its tests (not the window environment) with AddressSanitizer
# and UndefinedBehaviorSanitizer.
sanitized_tests() {
  cmake -S . -B "$asan_dir" -DCMAKE_BUILD_TYPE=Debug -DRINGEDIT_SANITIZE=ON \
    -DRINGEDIT_WINDOW=OFF >/dev/null
  cmake --build "$asan_dir" -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$asan_dir" --output-on-failure -j "$jobs" --timeout 600
}

# Every fuzz target for a few seconds, two at a time (clang and libFuzzer).
fuzz_smoke() {
  cmake -S fuzz -B "$fuzz_dir" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$fuzz_dir" -j "$jobs"
  ctest --test-dir "$fuzz_dir" --output-on-failure -j 2 --timeout 300
}

case "${1:-}" in
  run)
    build
    exec "$build_dir/ringedit"
    ;;
  test)
    build
    status=0
    format_check || status=1
    ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" --timeout 600 || status=1
    sanitized_tests || status=1
    fuzz_smoke || status=1
    exit $status
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
