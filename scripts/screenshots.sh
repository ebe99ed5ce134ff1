#!/usr/bin/env bash
# Pictures of the desktop program for the README: starts the real program on an example under a
# private X server and writes docs/images/desktop-main.png (the frame with both windows) and
# docs/images/desktop-menu.png (a menu open), and one picture per settings dialog in
# docs/images/dialogs/. Installs the X server and its small tools with apt
# when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xwd >/dev/null || need+=(x11-apps)
command -v xwdtopnm >/dev/null || need+=(netpbm)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y --no-install-recommends "${need[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target sondrix

example="${1:-examples/core_ocean.tab}"
width=1280
height=800
work=$(mktemp -d)
display=":$((50 + RANDOM % 400))"
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# A settings folder of its own, placing the frame over the whole screen and both windows in it.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Sondrix"
printf '2008-08-08\n2000\t100000\n0\t0\t%d\t%d\n330\t6\t930\t730\n6\t6\t520\t560\n' \
  "$width" "$height" >"$XDG_CONFIG_HOME/Sondrix/SondrixWindow.ini"

grab() {
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"
  echo "wrote $1"
}

mkdir -p docs/images
./build/sondrix "$example" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Sondrix" | head -n 1)
sleep 2
xdotool windowfocus --sync "$window" 2>/dev/null || true
# The plot window in front, the description beside it.
grab docs/images/desktop-main.png
xdotool key --window "$window" alt+o
sleep 1
grab docs/images/desktop-menu.png
xdotool key Escape Escape
sleep 0.3
xdotool key ctrl+q
status=0
wait "$app" || status=$?
app=""
echo "sondrix ended with status $status"
[ "$status" -eq 0 ] && [ -s "$XDG_CONFIG_HOME/Sondrix/SondrixWindow.ini" ] || exit 1

# One picture per settings dialog, drawn offscreen by the dialog scenarios.
cmake --build build --target ui_tests
mkdir -p docs/images/dialogs
SONDRIX_DIALOG_PICTURES="$PWD/docs/images/dialogs" QT_QPA_PLATFORM=offscreen \
  build/tests/ui_tests pictures
echo "wrote docs/images/dialogs/*.png"
