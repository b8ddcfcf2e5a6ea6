#!/usr/bin/env bash
# How responsive the window stays during a 1 GiB split, join and comparison by content: the
# longest gap between two ticks of a 10 ms timer on the window thread while each task runs.
# Target: no gap longer than 100 ms. Runs the real window under Xvfb (or offscreen when no
# Xvfb is installed) with the default settings.
#
#   bench/responsiveness.sh            BENCH_DIR=/some/folder  to place the files elsewhere
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=${PARTSMITH_BENCH_BUILD:-$root/build-bench-responsiveness}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
      -DPARTSMITH_BUILD_BENCH=ON -DBUILD_TESTING=OFF -DPARTSMITH_BUILD_GUI=ON \
      -DPARTSMITH_SANITIZE=OFF >/dev/null
cmake --build "$build" --target partsmith-bench-responsiveness >/dev/null
program=$build/bin/partsmith-bench-responsiveness

dir=${BENCH_DIR:-${TMPDIR:-/tmp}}
file=$dir/partsmith-bench-1GiB.bin
size=$((1024 * 1024 * 1024))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  echo "Writing $file ..."
  head -c "$size" /dev/urandom >"$file.tmp"
  mv "$file.tmp" "$file"
fi
work=$(mktemp -d "$dir/partsmith-responsiveness.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "1 GiB file, default settings (8 MiB buffer), timer every 10 ms on the window thread:"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$program" "$file" "$work"
else
  QT_QPA_PLATFORM=offscreen "$program" "$file" "$work"
fi
