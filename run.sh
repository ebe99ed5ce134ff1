#!/usr/bin/env bash
# Sets up, builds and runs Sondrix's main job on FILE (default: a bundled example): the file is
# loaded as the Open command does, its model printed, and its plot drawn to build/plot.png.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target sondrix-cli
file="${1:-examples/core_ocean.tab}"
./build/sondrix-cli info "$file"
./build/sondrix-cli render "$file" -o build/plot.png
