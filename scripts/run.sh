#!/usr/bin/env bash
# Installs what is needed, builds Orb and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF
./build/tools/orb-cli --help
echo
echo "Demo: attitude of three raw samples with the default calibration"
printf '25 0 0 4500 4500 0 0\n25 4500 0 0 0 4500 0\n25 3000 1000 3200 1500 -2000 3800\n' |
  ./build/tools/orb-cli attitude
