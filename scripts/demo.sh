#!/usr/bin/env bash
# The main job against the simulated instruments. With a display: the window,
# `orb --simulate`. Without one: the same job headless with orb-cli against
# orb-devsim (download with marks and matching, depths, save the TLM, export
# TXT and .xls, print the PDF) into an output folder.
# Usage: scripts/demo.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-demo-output}
orb=$(find "$build" -type f -name orb -perm -u+x | head -n 1)
cli=$build/tools/orb-cli
sim=$build/tools/orb-devsim

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -n "$orb" ]]; then
    echo "Starting the window with a simulated probe and synchronizer: $orb --simulate"
    exec "$orb" --simulate
fi

echo "No display: running the main job headless with orb-cli against orb-devsim."
mkdir -p "$out"
coproc SIM { exec "$sim" --baud 0; }
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
read -r port <&"${SIM[0]}"
survey=$out/survey.tlm
"$cli" --port "$port" download --marks -o "$survey"
"$cli" depths "$survey" --initial 100 --segment 30
"$cli" export-txt "$survey" -o "$out/survey.txt"
"$cli" export-xls "$survey" -o "$out/survey.xls"
"$cli" print "$survey" --pdf "$out/survey.pdf"
echo "Done. The files are in $(cd "$out" && pwd): survey.tlm, survey.txt, survey.xls, survey.pdf"
