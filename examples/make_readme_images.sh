#!/bin/sh
# Regenerates the example templates and the README pictures (docs/images/*.png). The pictures
# are only ever made by this script; edit the styles in examples/make_templates.cpp instead.
#
# usage: examples/make_readme_images.sh      (BUILD_DIR=... to use another build directory)
set -eu

cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DSONDRIX_BENCH=OFF -DSONDRIX_TESTS=OFF
fi
cmake --build "$BUILD_DIR" --target sondrix-cli make_example_templates

# A fresh settings directory: the user's preferences must not change the pictures, and the fill
# patterns are the built-in ones.
CONFIG_DIR=$(mktemp -d)
trap 'rm -rf "$CONFIG_DIR"' EXIT
unset APPDATA
export XDG_CONFIG_HOME="$CONFIG_DIR"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$CONFIG_DIR}"

"$BUILD_DIR/make_example_templates" examples

mkdir -p docs/images
render() {
  "$BUILD_DIR/sondrix-cli" render "examples/$1.tab" --template "examples/$1.stf" \
    -o "docs/images/$2.png"
}
render styles_horizontal horizontal
render styles_vertical vertical
render ternary_sediment ternary
render phase_currents phase
