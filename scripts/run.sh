#!/usr/bin/env bash
# Installs what the program needs, builds it and starts it on its embedded database in the
# program directory DV_DIR (default ~/dideroviv).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j"${DV_JOBS:-2}" dideroviv
dir=${DV_DIR:-$HOME/dideroviv}
mkdir -p "$dir"
exec ./build/dideroviv --dir "$dir" files
