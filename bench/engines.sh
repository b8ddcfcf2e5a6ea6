#!/usr/bin/env bash
# Times the split, join and compare engines on one 1 GiB file held in the page cache, beside the
# standard tools doing the same work on the same file in the same run:
#
#   plain split into 100 MiB parts    vs  cp of the file, split -b 100M
#   plain join                        vs  cat parts > out
#   encrypted split / join            vs  openssl enc -aes-256-cbc encrypting / decrypting
#     (Rijndael, SHA-256; ours also checksums the source, and the joined file)
#   compare by content                vs  cmp
#
# Prints MB/s (10^6 bytes per second of the 1 GiB source) of the best of several runs, the
# ratios the targets are stated in, and the peak resident memory of each of our runs.
#
#   bench/engines.sh        BENCH_DIR=/some/folder   to place the files elsewhere
#                           BENCH_RUNS=5             runs per tool (default 3)
#                           BENCH_BUFFER_KIB=8192    the engines' buffer (MaxBufferSize)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

source bench/common.sh
bench_build engines OFF partsmith-cli
cli=$build/bin/partsmith-cli

bench_file
runs=${BENCH_RUNS:-3}
buffer=$(( ${BENCH_BUFFER_KIB:-8192} * 1024 ))
part=$((100 * 1024 * 1024))
work=$(mktemp -d "$dir/partsmith-bench-engines.XXXXXX")
last=$(mktemp)
trap 'rm -rf "$work" "$last"' EXIT
mkdir -p "$work/ours" "$work/theirs"
printf 'benchmark password\n' >"$work/password"
kib=$((buffer / 1024))
# Quiet runs that replace what is there (the runs before have left it).
split_cmd=("$cli" split "$file" --output-dir "$work/ours" --size "$part" --buffer-kib "$kib" --force --quiet)
join_opts=(--output "$work/joined" --buffer-kib "$kib" --force --quiet)
encrypt=(--encrypt 16 --hash 7 --password-file "$work/password")

cat "$file" >/dev/null
cat "$file" >/dev/null

now() { date +%s.%N; }

# best_time CMD...: the shortest wall time of $runs runs in seconds, then a space and the
# shortest CPU time (user + system) of those runs: on a busy machine the wall time also counts
# waiting for the processor, the CPU time does not. Before each run the caller's clean function
# removes the previous run's output, and sync writes back what the run before left dirty, so no
# run pays for another's write-back.
best_time() {
  local best="" cpu="" t c times
  times=$(mktemp)
  for _ in $(seq "$runs"); do
    clean
    sync
    /usr/bin/time -f "%e %U %S" -o "$times" "$@" >"$last"
    t=$(awk '{ print $1 }' "$times")
    c=$(awk '{ printf "%.2f", $2 + $3 }' "$times")
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
    if [ -z "$cpu" ] || awk -v t="$c" -v b="$cpu" 'BEGIN { exit !(t < b) }'; then cpu=$c; fi
  done
  rm -f "$times"
  echo "$best $cpu"
}
# peak_kib CMD...: the peak resident memory of one run, in KiB.
peak_kib() {
  clean
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'
}

# Both take the "wall cpu" pair of best_time.
rate() { echo "$1" | awk -v s="$size" '{ printf "%6.0f MB/s  %6.0f MB/s", s / $1 / 1e6, s / ($2 > 0 ? $2 : 0.01) / 1e6 }'; }
ratio() { echo "$1 $2" | awk '{ printf "%.2fx wall, %.2fx CPU", $3 / $1, ($4 > 0 ? $4 : 0.01) / ($2 > 0 ? $2 : 0.01) }'; }
row() { printf '%-44s %s  %s\n' "$1" "$(rate "$2")" "${3:-}"; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

echo "File: $file ($size bytes), best of $runs runs each, buffer $((buffer / 1024)) KiB, parts of 100 MiB"
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-44s %s\n' "" "   by wall time  by CPU time"

# --- plain split -------------------------------------------------------------------------------
clean() { rm -f "$work"/ours/* "$work"/theirs/*; }
t_cp=$(best_time cp "$file" "$work/theirs/copy"); row "cp (the same file)" "$t_cp"
t_gsplit=$(best_time split -b 100M "$file" "$work/theirs/part."); row "split -b 100M" "$t_gsplit"
t_split=$(best_time "${split_cmd[@]}")
m_split=$(peak_kib "${split_cmd[@]}")
row "ours split, plain (kernel-side copy)" "$t_split" "peak $(mib "$m_split")"
t_split_rw=$(best_time "${split_cmd[@]}" --no-kernel-copy)
row "ours split, plain (read/write)" "$t_split_rw"

# --- plain join --------------------------------------------------------------------------------
"${split_cmd[@]}"
split -b 100M "$file" "$work/theirs/part."
clean() { rm -f "$work/joined" "$work/catted"; }
t_cat=$(best_time sh -c 'cat "$@" >"$0"' "$work/catted" "$work"/theirs/part.*); row "cat parts > out" "$t_cat"
name=$(basename "$file")
t_join=$(best_time "$cli" join "$work/ours/$name.001" "${join_opts[@]}")
m_join=$(peak_kib "$cli" join "$work/ours/$name.001" "${join_opts[@]}")
row "ours join, plain (kernel-side copy)" "$t_join" "peak $(mib "$m_join")"
t_join_rw=$(best_time "$cli" join "$work/ours/$name.001" "${join_opts[@]}" --no-kernel-copy)
row "ours join, plain (read/write)" "$t_join_rw"
cmp -s "$file" "$work/joined" || echo "JOINED FILE DIFFERS!"

# --- compare -----------------------------------------------------------------------------------
clean() { :; }
t_cmp=$(best_time cmp "$file" "$work/joined"); row "cmp" "$t_cmp"
t_cmpours=$(best_time "$cli" compare "$file" "$work/joined" --by-content)
m_cmpours=$(peak_kib "$cli" compare "$file" "$work/joined" --by-content)
row "ours compare by content (1 MiB blocks)" "$t_cmpours" "peak $(mib "$m_cmpours")"
rm -f "$work/joined" "$work"/ours/* "$work"/theirs/*

# --- encrypted split and join ------------------------------------------------------------------
key=$(printf '%064d' 7); iv=$(printf '%032d' 0)
clean() { rm -f "$work/theirs/enc"; }
t_enc=$(best_time openssl enc -aes-256-cbc -K "$key" -iv "$iv" -in "$file" -out "$work/theirs/enc")
row "openssl enc -aes-256-cbc (encrypt)" "$t_enc"
openssl enc -aes-256-cbc -K "$key" -iv "$iv" -in "$file" -out "$work/theirs/enc"
clean() { rm -f "$work/theirs/dec"; }
t_dec=$(best_time openssl enc -d -aes-256-cbc -K "$key" -iv "$iv" -in "$work/theirs/enc" -out "$work/theirs/dec")
row "openssl enc -d -aes-256-cbc (decrypt)" "$t_dec"
rm -f "$work"/theirs/*

clean() { rm -f "$work"/ours/*; }
t_esplit=$(best_time "${split_cmd[@]}" "${encrypt[@]}")
m_esplit=$(peak_kib "${split_cmd[@]}" "${encrypt[@]}")
row "ours split, Rijndael + SHA-256 (+ CRC pass)" "$t_esplit" "peak $(mib "$m_esplit")"
"${split_cmd[@]}" "${encrypt[@]}"
clean() { rm -f "$work/joined"; }
t_ejoin=$(best_time "$cli" join "$work/ours/$name.e01" "${join_opts[@]}" --password-file "$work/password")
m_ejoin=$(peak_kib "$cli" join "$work/ours/$name.e01" "${join_opts[@]}" --password-file "$work/password")
row "ours join, Rijndael + SHA-256 (+ CRC pass)" "$t_ejoin" "peak $(mib "$m_ejoin")"
cmp -s "$file" "$work/joined" || echo "DECRYPTED FILE DIFFERS!"

echo
limit=$(( buffer / 1024 + 32 * 1024 ))
echo "ours split / cp:              $(ratio "$t_split" "$t_cp")   (target at least 1)"
echo "ours split / split -b:        $(ratio "$t_split" "$t_gsplit")"
echo "ours join / cat:              $(ratio "$t_join" "$t_cat")   (target at least 1)"
echo "ours encrypted split / enc:   $(ratio "$t_esplit" "$t_enc")   (target at least 1)"
echo "ours encrypted join / enc -d: $(ratio "$t_ejoin" "$t_dec")   (target at least 1)"
echo "ours compare / cmp:           $(ratio "$t_cmpours" "$t_cmp")   (target at least 1.3)"
for m in "$m_split" "$m_join" "$m_cmpours" "$m_esplit" "$m_ejoin"; do
  [ "$m" -le "$limit" ] || echo "PEAK MEMORY $(mib "$m") ABOVE buffer + 32 MiB ($(mib "$limit"))"
done
echo "peak memory limit (buffer + 32 MiB): $(mib "$limit")"
