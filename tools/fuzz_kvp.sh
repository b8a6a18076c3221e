#!/bin/sh
# Builds the fuzzer of the pipe catalogue reader with clang (ASan, UBSan, libFuzzer) in
# build-fuzz and runs it briefly, seeded with the test catalogues, the standard catalogue and
# earlier findings. Crashes land in build-fuzz/fuzz-kvp-crashes; keep each as a regression input
# under tests/data/kvp_fuzz/ (the unit tests read every file there).
#   tools/fuzz_kvp.sh [SECONDS] [extra libFuzzer options...]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DKRESBON_FUZZ=ON -DKRESBON_SANITIZE=ON -DKRESBON_TESTS=OFF >/dev/null
ninja -C "$build" -j2 fuzz_kvp
corpus="$build/fuzz-kvp-corpus"
crashes="$build/fuzz-kvp-crashes"
mkdir -p "$corpus" "$crashes"
cp tests/data/kvp/*.kvp data/Common/Materialy/Potrubi_std.kvp "$corpus/"
if [ -d tests/data/kvp_fuzz ]; then
    cp tests/data/kvp_fuzz/* "$corpus/" 2>/dev/null || true
fi
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
exec "$build/tests/fuzz/fuzz_kvp" "$corpus" -max_total_time="$seconds" -max_len=16384 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashes/" -print_final_stats=1 "$@"
