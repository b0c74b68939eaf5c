#!/usr/bin/env bash
# Configures and builds one tree, as any user (packages: scripts/setup.sh).
# Usage: build.sh DIR [cmake options...]
# Every option the scripts rely on is set here explicitly, so a tree configured
# by one script is never silently reused with another's choices; later -D
# options override these. ORB_TARGETS="a b" builds only those targets.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORB_BUILD_APP=ON -DORB_BUILD_TESTS=ON -DORB_BUILD_BENCH=ON \
  -DORB_SANITIZE=OFF -DORB_FUZZ=OFF -DORB_WERROR=OFF "${launcher[@]}" "$@" >/dev/null
if [ -n "${ORB_TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$dir" --target $ORB_TARGETS
else
  cmake --build "$dir"
fi
