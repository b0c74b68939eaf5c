#!/usr/bin/env bash
# Builds everything and runs every test, as any user once the packages are
# there (sudo bash scripts/setup.sh): the formatting check, the normal build
# and its tests, the Debian package and its checks, the whole suite again
# under AddressSanitizer and UBSan, then each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --check

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
# Warnings fail the build in CI; a contributor's newer compiler only warns.
werror=OFF
[ "${CI:-}" = true ] && werror=ON

echo "== formatting"
bash scripts/check_format.sh

echo "== build (RelWithDebInfo)"
bash scripts/build.sh build -DORB_WERROR=$werror
echo "== tests"
ctest --test-dir build --output-on-failure --no-tests=error -j"$jobs"

bash scripts/check_package.sh build

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON -DORB_BUILD_BENCH=OFF
echo "== tests under sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j"$jobs"

echo "== fuzzing (each target for a bounded time)"
bash scripts/fuzz.sh "${ORB_FUZZ_SECONDS:-30}"
