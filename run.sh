#!/usr/bin/env bash
# Sets up, builds and runs Sondrix on FILE (default: a bundled example). With a display
# ($DISPLAY or $WAYLAND_DISPLAY) it starts the desktop program; without one it says so and runs
# the headless job: the file is loaded as the Open command does, its model printed, and its plot
# drawn to build/plot.png.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
file="${1:-examples/core_ocean.tab}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build --target sondrix
  exec ./build/sondrix "$file"
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless job."
cmake --build build --target sondrix-cli
./build/sondrix-cli info "$file"
./build/sondrix-cli render "$file" -o build/plot.png
