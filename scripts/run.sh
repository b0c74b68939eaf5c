#!/usr/bin/env bash
# Installs what is needed, builds Orb and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF
bash scripts/demo.sh build
