#!/usr/bin/env bash
# Builds ringedit and starts the editor, or builds it and runs every test.
#   ./build.sh run      build, then start ringedit on this terminal
#   ./build.sh test     build, then run every test
# Packages the build needs are installed first (apt-get), only when missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ make cmake libgtest-dev libgmock-dev tmux)
build_dir=${RINGEDIT_BUILD_DIR:-build}
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
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" -j "$jobs"
}

case "${1:-}" in
  run)
    build
    exec "$build_dir/ringedit"
    ;;
  test)
    build
    ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" --timeout 600
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
