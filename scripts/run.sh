#!/usr/bin/env bash
# Builds Orb and runs it: the window with the simulated instruments when a
# display is there, otherwise the same job headless with orb-cli.
# Packages first (the only step that needs root): sudo bash scripts/setup.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --check
ORB_TARGETS="orb orb-cli orb-devsim" bash scripts/build.sh build
bash scripts/demo.sh build
