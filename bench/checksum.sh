#!/usr/bin/env bash
# Times the CRC-32 and MD5 of one 1 GiB file held in the page cache: our routines beside
# rhash, 7z and md5sum, in one run on the same file. Prints MB/s (10^6 bytes per second) of the
# best of several runs of each, and the ratios that the targets are stated in.
#
#   bench/checksum.sh            BENCH_DIR=/some/folder  to place the test file elsewhere
#                                BENCH_RUNS=5            runs per tool (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh --with-bench

source bench/common.sh
bench_build checksum OFF partsmith-bench-checksum
ours=$build/bin/partsmith-bench-checksum

bench_file
runs=${BENCH_RUNS:-3}

# Two passes bring the whole file into the page cache; a third is timed as the read rate itself.
cat "$file" >/dev/null
cat "$file" >/dev/null

now() { date +%s.%N; }

last=$(mktemp)
trap 'rm -f "$last"' EXIT
# best_time CMD...: the shortest wall time of $runs runs, in seconds; the last run's output is
# left in the file $last.
best_time() {
  local best="" start end t
  for _ in $(seq "$runs"); do
    start=$(now)
    "$@" >"$last"
    end=$(now)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

rate() { awk -v s="$size" -v t="$1" 'BEGIN { printf "%.0f", s / t / 1e6 }'; }
ratio() { awk -v ours="$1" -v theirs="$2" 'BEGIN { printf "%.2f", theirs / ours }'; }
row() { printf '%-34s %8s MB/s   %s\n' "$1" "$(rate "$2")" "$3"; }

echo "File: $file ($size bytes), best of $runs runs each, wall time of the whole process"
echo

t_cat=$(best_time sh -c 'cat "$1" >/dev/null' sh "$file"); row "cat >/dev/null (page-cache read)" "$t_cat" ""

t_crc=$(best_time "$ours" crc32 "$file"); crc_ours=$(cut -d" " -f1 "$last")
row "ours CRC-32 (1 MiB reads)" "$t_crc" "$crc_ours"
t_rhash=$(best_time rhash --crc32 "$file"); crc_rhash=$(awk '!/^;/ {print toupper($NF)}' "$last")
row "rhash --crc32" "$t_rhash" "$crc_rhash"
t_7z=$(best_time 7z h -scrcCRC32 "$file"); crc_7z=$(awk '/for data/ {print toupper($NF)}' "$last")
row "7z h -scrcCRC32" "$t_7z" "$crc_7z"

t_md5=$(best_time "$ours" md5 "$file" 32768); md5_ours=$(cut -d" " -f1 "$last")
row "ours MD5 (32 KiB reads)" "$t_md5" "$md5_ours"
t_md5big=$(best_time "$ours" md5 "$file" 1048576); md5_big=$(cut -d" " -f1 "$last")
row "ours MD5 (1 MiB reads)" "$t_md5big" "$md5_big"
t_md5sum=$(best_time md5sum "$file"); md5_sys=$(awk '{print toupper($1)}' "$last")
row "md5sum" "$t_md5sum" "$md5_sys"

echo
[ "$crc_ours" = "$crc_rhash" ] && [ "$crc_ours" = "$crc_7z" ] || echo "CRC-32 DIFFERS between the tools!"
[ "$md5_ours" = "$md5_sys" ] && [ "$md5_big" = "$md5_sys" ] || echo "MD5 DIFFERS between the tools!"

crc_vs_7z=$(ratio "$t_crc" "$t_7z")
md5_vs_sum=$(ratio "$t_md5" "$t_md5sum")
md5big_vs_sum=$(ratio "$t_md5big" "$t_md5sum")
echo "ours CRC-32 / 7z h:     ${crc_vs_7z}x   (target at least 2.5)"
echo "ours CRC-32 / rhash:    $(ratio "$t_crc" "$t_rhash")x"
echo "ours MD5 / md5sum:      ${md5_vs_sum}x (32 KiB reads), ${md5big_vs_sum}x (1 MiB reads)   (target at least 0.95)"
