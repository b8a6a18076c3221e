#!/bin/sh
# DXF load and save on a generated drawing of about 300,000 entities (lines, polylines, texts,
# multi-line texts, block references with attributes on 200 layers) and on one of as many lines,
# against a split-only pass over the same file and ezdxf reading and writing it in the same run.
#   tools/bench_dxf.sh [ENTITIES]
set -eu
cd "$(dirname "$0")/.."
n=${1:-300000}
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRESBON_BENCH=ON \
    -DKRESBON_TESTS=OFF >/dev/null
ninja -C "$build" -j2 bench_bench_dxf >/dev/null
work="$build/bench-dxf"
mkdir -p "$work"
bench="$build/bench/bench_bench_dxf"
"$bench" generate "$work/mixed.dxf" "$n"
"$bench" generate-lines "$work/lines.dxf" "$n"
# Each measurement in a process of its own, so that memory figures start clean.
"$bench" measure "$work/mixed.dxf" > "$work/mixed.txt"
"$bench" measure "$work/lines.dxf" > "$work/lines.txt"
/usr/bin/python3 - "$work/mixed.dxf" > "$work/ezdxf.txt" <<'PY'
import sys, time, ezdxf
path = sys.argv[1]
t0 = time.perf_counter()
doc = ezdxf.readfile(path)
t1 = time.perf_counter()
doc.saveas(path + ".ezdxf.dxf")
t2 = time.perf_counter()
print(f"ezdxf_version={ezdxf.__version__}")
print(f"ezdxf_load_s={t1 - t0:.4f}")
print(f"ezdxf_save_s={t2 - t1:.4f}")
PY
rm -f "$work/mixed.dxf.ezdxf.dxf"
/usr/bin/python3 - "$work/mixed.txt" "$work/lines.txt" "$work/ezdxf.txt" <<'PY'
import sys
def read(p):
    return {k: v for k, v in (l.strip().split("=", 1) for l in open(p) if "=" in l)}
m, l, e = (read(p) for p in sys.argv[1:4])
f = lambda d, k: float(d[k])
print(f"mixed drawing: {m['file_mb']} MB, {m['entities']} entities "
      f"(+{m['attributes']} attributes), {m['pairs']} group pairs")
print(f"  split only   {f(m,'split_s'):8.3f} s  {f(m,'split_mb_s'):7.1f} MB/s")
print(f"  reader split {f(m,'reader_split_s'):8.3f} s")
print(f"  load         {f(m,'load_s'):8.3f} s  {f(m,'load_mb_s'):7.1f} MB/s  "
      f"{f(m,'load_ent_s'):10.0f} entities/s  (from the file: {f(m,'load_file_s'):.3f} s)")
print(f"  save         {f(m,'save_s'):8.3f} s  {f(m,'save_mb_s'):7.1f} MB/s  "
      f"{f(m,'save_ent_s'):10.0f} entities/s  (to the file: {f(m,'save_file_s'):.3f} s)")
print(f"  memory       {m['retained_bytes_per_entity']} bytes/entity kept, "
      f"{m['peak_bytes_per_entity']} bytes/entity at the peak of loading")
print(f"lines only: {l['file_mb']} MB, {l['entities']} lines")
print(f"  load         {f(l,'load_s'):8.3f} s  {f(l,'load_mb_s'):7.1f} MB/s  "
      f"{f(l,'load_ent_s'):10.0f} entities/s")
print(f"  memory       {l['retained_bytes_per_entity']} bytes/line kept, "
      f"{l['peak_bytes_per_entity']} bytes/line at the peak of loading")
print(f"ezdxf {e['ezdxf_version']} on the mixed drawing: load {f(e,'ezdxf_load_s'):.3f} s, "
      f"save {f(e,'ezdxf_save_s'):.3f} s")
print("ratios (targets):")
print(f"  ezdxf load / host load  {f(e,'ezdxf_load_s') / f(m,'load_s'):7.1f}  (>= 50)")
print(f"  ezdxf save / host save  {f(e,'ezdxf_save_s') / f(m,'save_s'):7.1f}  (>= 50)")
print(f"  host load / split only  {f(m,'load_s') / f(m,'split_s'):7.1f}  (<= 3)")
print(f"  bytes per line          {l['retained_bytes_per_entity']:>7}  (<= 300)")
PY
