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
# The simulated well's stations were taken on the way down, one every 30 m: a
# negative segment makes each later station deeper.
"$cli" depths "$survey" --initial 30 --segment -30
# A fresh installation has no TXT layout saved yet (the format dialog starts
# with no column chosen), so the demo names its columns: number, relative
# time, depth, inclination, magnetic azimuth, tool faces, true azimuth.
"$cli" export-txt "$survey" -o "$out/survey.txt" --columns 0,1,2,3,4,5,6,13 --captions --declination 3.5
"$cli" export-xls "$survey" -o "$out/survey.xls" --declination 3.5
"$cli" print "$survey" --pdf "$out/survey.pdf" --trajectory-page --declination 3.5
echo "Done. The files are in $(cd "$out" && pwd): survey.tlm, survey.txt, survey.xls, survey.pdf"
