#!/usr/bin/env bash
# Installs what is needed, builds the programs and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${PARTSMITH_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
if [ -x "$build/bin/partsmith" ]; then
  exec "$build/bin/partsmith" "$@"
else
  exec "$build/bin/partsmith-cli" --help
fi
