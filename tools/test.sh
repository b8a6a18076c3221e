#!/usr/bin/env bash
# Builds and runs every test: a plain build, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)
for variant in plain sanitize; do
    dir=build-test-$variant
    flags=(-DCMAKE_BUILD_TYPE=Release)
    if [ "$variant" = sanitize ]; then
        flags=(-DCMAKE_BUILD_TYPE=Debug -DKRESBON_SANITIZE=ON)
    fi
    echo "=== $variant build"
    cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
    ninja -C "$dir" -j "$jobs"
    echo "=== $variant tests"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
