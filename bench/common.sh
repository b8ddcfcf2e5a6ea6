# Shared by the benchmark scripts; source it from the repository root.
#
#   bench_build NAME GUI TARGET   configures build-bench-NAME (or $PARTSMITH_BENCH_BUILD) in
#                                 Release with GUI ON or OFF, builds TARGET, sets $build
#   bench_file                    sets $dir, $file and $size: a 1 GiB random file, made once

bench_build() {
  build=${PARTSMITH_BENCH_BUILD:-$PWD/build-bench-$1}
  cmake -S "$PWD" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DPARTSMITH_BUILD_BENCH=ON -DBUILD_TESTING=OFF -DPARTSMITH_BUILD_GUI="$2" \
        -DPARTSMITH_SANITIZE=OFF >/dev/null
  cmake --build "$build" --target "$3" >/dev/null
}

bench_file() {
  dir=${BENCH_DIR:-${TMPDIR:-/tmp}}
  file=$dir/partsmith-bench-1GiB.bin
  size=$((1024 * 1024 * 1024))
  if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
    echo "Writing $file ..."
    head -c "$size" /dev/urandom >"$file.tmp"
    mv "$file.tmp" "$file"
  fi
}
