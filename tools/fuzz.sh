#!/bin/sh
# Builds the DXF fuzzer with clang (ASan, UBSan, libFuzzer) in build-fuzz and runs it briefly on a
# corpus seeded with the drawings the host writes. Crashes land in build-fuzz/fuzz-crashes; keep
# each as a regression input under tests/data/dxf_fuzz/.
#   tools/fuzz.sh [SECONDS] [extra libFuzzer options...]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DKRESBON_FUZZ=ON -DKRESBON_SANITIZE=ON -DKRESBON_TESTS=OFF >/dev/null
ninja -C "$build" -j2 fuzz_dxf fuzz_dxf_seeds
corpus="$build/fuzz-corpus"
crashes="$build/fuzz-crashes"
mkdir -p "$corpus" "$crashes"
"$build/tests/fuzz/fuzz_dxf_seeds" "$corpus"
# Earlier findings are seeds too.
if [ -d tests/data/dxf_fuzz ]; then
    cp tests/data/dxf_fuzz/* "$corpus/" 2>/dev/null || true
fi
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
exec "$build/tests/fuzz/fuzz_dxf" "$corpus" -max_total_time="$seconds" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashes/" -print_final_stats=1 "$@"
