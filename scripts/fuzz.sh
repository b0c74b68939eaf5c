#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a scratch copy of its seed corpus (tests/fuzz/<name>/corpus stays as it is).
# Fails when any target finds a crash, a leak, undefined behaviour, a time-out
# or an input that needs too much memory; the input is kept beside its log.
#
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 30)
# Environment: ORB_FUZZ_BUILD (build folder, default build-fuzz),
#              ORB_FUZZ_TARGETS (names to run, default all),
#              CC / CXX (default clang-14 / clang++-14).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-30}
build=${ORB_FUZZ_BUILD:-build-fuzz}
targets=${ORB_FUZZ_TARGETS:-"tlm_loader expfmt_loader xls_reader frame_dispatch context_block xlsx_package geo_text journal_reader"}
cc=${CC:-clang-14}
cxx=${CXX:-clang++-14}
case "$cc" in *clang*) ;; *) cc=clang-14 ;; esac
case "$cxx" in *clang*) ;; *) cxx=clang++-14 ;; esac

echo "== fuzz build ($build, $cxx)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DORB_FUZZ=ON -DORB_BUILD_APP=OFF -DORB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target $(printf 'fuzz_%s ' $targets)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for name in $targets; do
  work="$root/$build/fuzz-run/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp -r "tests/fuzz/$name/corpus/." "$work/corpus/"
  echo "== fuzz_$name for ${seconds}s"
  status=0
  # Package and journal readers meet size lies only with inputs of real size
  # (a journal of a whole 10,081-sample download is about 500 kB).
  extra=()
  case "$name" in xlsx_package | journal_reader) extra=(-max_len=1048576) ;; esac
  "$build/tests/fuzz/fuzz_$name" "$work/corpus" "${extra[@]}" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/" >"$work/log" 2>&1 || status=$?
  # The last status line of libFuzzer: executions, coverage (cov), features (ft).
  grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$work/log" || true
  if [ "$status" -ne 0 ]; then
    echo "!! fuzz_$name failed (exit $status); log: $work/log"
    grep -E 'ERROR: |runtime error:|invariant broken|Test unit written' "$work/log" | head -n 5 || true
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no crash, leak, undefined behaviour or time-out in ${seconds}s per target"
