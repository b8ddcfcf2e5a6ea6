#!/usr/bin/env bash
# EncryptRun and DecryptRun throughput of every cipher (key from SHA-256, 64 MiB in runs of
# 8 MiB, in memory), beside openssl's AES-256-CBC on 16 KiB blocks measured in the same run.
# Both sides divide by CPU time (openssl speed's default), so other load on the machine
# disturbs the ratios less than it disturbs the absolute figures.
# Usage: bench/crypto.sh [seconds per openssl measurement, default 3]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}
build=${PARTSMITH_BENCH_BUILD:-build-bench-crypto}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARTSMITH_BUILD_BENCH=ON \
      -DPARTSMITH_BUILD_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target partsmith-bench-crypto -j2 >/dev/null

# openssl -mr prints "+F:<n>:<cipher>:<bytes per second>" for the one block size asked for.
openssl_rate() {
    openssl speed -mr -seconds "$seconds" -bytes 16384 "$@" -evp aes-256-cbc 2>/dev/null |
        awk -F: '/^\+F:/ { printf "%.1f", $4 / 1e6 }'
}
ossl_enc=$(openssl_rate)
ossl_dec=$(openssl_rate -decrypt)
if [[ -z "$ossl_enc" || -z "$ossl_dec" ]]; then
    echo "openssl speed gave no figure" >&2
    exit 1
fi

"$build/bin/partsmith-bench-crypto" >"$build/crypto-bench.tsv"

printf '%-16s %12s %12s\n' "Cipher" "Encrypt MB/s" "Decrypt MB/s"
awk -F'\t' '{ printf "%-16s %12.1f %12.1f%s\n", $1, $2, $3, ($4 == "" ? "" : "  " $4) }' \
    "$build/crypto-bench.tsv"
printf '%-16s %12.1f %12.1f\n' "openssl AES-256" "$ossl_enc" "$ossl_dec"
awk -F'\t' -v e="$ossl_enc" -v d="$ossl_dec" '$1 == "Rijndael (AES)" {
    printf "AES-256 ratio to openssl: encrypt %.2f (target 0.90), decrypt %.2f (target 0.90)\n",
           $2 / e, $3 / d }' "$build/crypto-bench.tsv"
if grep -q MISMATCH "$build/crypto-bench.tsv"; then
    echo "a cipher did not decipher what it enciphered" >&2
    exit 1
fi
