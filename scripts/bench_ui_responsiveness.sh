#!/usr/bin/env bash
# Worst lateness of a 10 ms timer on the window's thread while the window
# downloads 10,081 samples from orb-devsim at 9600 baud (headless).
# Usage: scripts/bench_ui_responsiveness.sh [BUILD_DIR] [RUNS] [BAUD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-1}
baud=${3:-9600}
scenario=$(mktemp --suffix=.json)
trap 'rm -f "$scenario"' EXIT
python3 - "$scenario" <<'EOF'
import json, sys, datetime
start = datetime.datetime(2025, 6, 7, 8, 0, 0)
samples = []
for i in range(10081):
    t = start + datetime.timedelta(seconds=10 * i)
    a = i % 360
    samples.append({"raw": [100 + a, -200 + a, 4000, 2500 - a, 1800, -3000 + a],
                    "temperature": 20 + (i % 50) / 10, "time": t.strftime("%Y-%m-%d %H:%M:%S"),
                    "battery": 7.8})
json.dump({"probe": {"number": "TALOE20931", "samples": samples}}, open(sys.argv[1], "w"))
EOF
for ((r = 1; r <= runs; ++r)); do
    QTEST_FUNCTION_TIMEOUT=1800000 ORB_UI_BENCH_SCENARIO=$scenario ORB_UI_BENCH_BAUD=$baud QT_QPA_PLATFORM=offscreen \
        "$build"/tests/app/test_app_device uiLatenessDuringDownload 2>&1 | grep -E "worst lateness|FAIL" || true
done
