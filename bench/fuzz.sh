#!/usr/bin/env bash
# Runs every libFuzzer target for many inputs (default 2,000,000 each) over its
# corpus and prints, per target, the inputs run, the time taken and the coverage
# reached. CI runs the same targets for a short fixed count; this is the long run.
#
#   bench/fuzz.sh [RUNS] [BUILD-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-2000000}
build=${2:-build/fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DLUMIVANE_FUZZ=ON \
    >/dev/null
cmake --build "$build" >/dev/null

printf '%-16s %12s %10s %10s\n' target runs seconds coverage
for src in fuzz/*.cpp; do
    name=$(basename "$src" .cpp)
    units=$(mktemp -d)
    start=$(date +%s.%N)
    "$build/fuzz/$name" -runs="$runs" -max_len=4096 -print_final_stats=1 "$units" "fuzz/corpus/$name" \
        >"$units.log" 2>&1 || { cat "$units.log"; exit 1; }
    end=$(date +%s.%N)
    cov=$(grep -o 'cov: [0-9]*' "$units.log" | tail -1 | cut -d' ' -f2)
    printf '%-16s %12s %10.1f %10s\n' "$name" "$runs" "$(awk "BEGIN{print $end - $start}")" "${cov:-?}"
    rm -rf "$units" "$units.log"
done
