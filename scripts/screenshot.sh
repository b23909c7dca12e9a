#!/usr/bin/env bash
# Takes the pictures in docs/screenshots (the README's and the user guide's): the demo company in a
# fresh folder, the first steps of a stocktake taken by docs/screenshots/stocktake.script, then
# the desktop program on a virtual display (Xvfb) driven through docs/screenshots/shots.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if ! command -v xvfb-run >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends xvfb xauth
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
ninja -C build -j"${DV_JOBS:-2}" dideroviv desktop_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/podjetje" docs/screenshots
build/dideroviv --dir "$work/podjetje" demo >/dev/null
cd "$work/podjetje"
"$root/build/dideroviv" --dir "$work/podjetje" script "$root/docs/screenshots/stocktake.script"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
  "$root/build/desktop_screenshot" "$work/podjetje" "$root/docs/screenshots/shots.txt" \
  "$root/docs/screenshots"
