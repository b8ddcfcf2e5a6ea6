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

source bench/common.sh
bench_build responsiveness ON partsmith-bench-responsiveness
program=$build/bin/partsmith-bench-responsiveness

bench_file
work=$(mktemp -d "$dir/partsmith-responsiveness.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "1 GiB file, default settings (8 MiB buffer), timer every 10 ms on the window thread:"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$program" "$file" "$work"
else
  QT_QPA_PLATFORM=offscreen "$program" "$file" "$work"
fi
