#!/usr/bin/env bash
# Installs what is needed, builds everything with the sanitizers and warnings as errors, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --with-gui
build=${PARTSMITH_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DPARTSMITH_SANITIZE=ON -DPARTSMITH_WERROR=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
