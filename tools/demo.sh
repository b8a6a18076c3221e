#!/usr/bin/env bash
# Builds the host and the application and runs the demo script on the built-in default drawing,
# saving demo.dxf in the current folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKRESBON_TESTS=OFF >/dev/null
ninja -C "$root/build"
home="${KRESBON_HOME:-$root/build/demo-home}"
"$root/build/host/kresbon" --home "$home" -s "$root/data/demo.scr" -o demo.dxf
echo
echo "demo.dxf written."
