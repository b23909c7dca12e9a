#!/usr/bin/env bash
# Installs what the program needs, builds it, creates the demo company in the program directory
# DV_DIR (default ~/dideroviv) when that holds no data yet, and starts the desktop program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
ninja -C build -j"${DV_JOBS:-2}" dideroviv
program=$PWD/build/dideroviv
dir=${DV_DIR:-$HOME/dideroviv}
mkdir -p "$dir"
if [ ! -e "$dir/dideroviv.db" ]; then
  "$program" --dir "$dir" demo
fi
# The program reads a few entries (backups, paper) from the working directory, as the suite does.
cd "$dir"
exec "$program" --dir "$dir"
