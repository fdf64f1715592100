#!/usr/bin/env bash
# backup.sh [SIZE_MIB] [RUNS]
#
# Backs up a generated yearly database (Firebird file, SIZE_MIB MiB, default 256) the way the
# backup tool does: vorbex.exe under Wine at compression mode 1, once on one thread
# (VORBEX_THREADS=1) and once on all processors, against Info-ZIP `zip -1`, and for reference
# `7z -tzip -mx=1`, `pigz -1 -p 2` (gzip, not ZIP) and `cat` (reading the input, the floor).
# They run in turn, RUNS times each (default 3); the table shows medians of wall time, input
# throughput, output size and peak memory (maximum resident set; for vorbex, of the Wine process
# that runs it), and each tool's throughput relative to zip's and pigz's. The database is made once by
# /work/shared/bench/make-fdb.sh and cached in bench/out/; the input is read once first, so every
# run reads it from the page cache. Env: BUILD_DIR (default build) for vorbex.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
MIB=${1:-256}
RUNS=${2:-3}
OUT=bench/out
mkdir -p "$OUT"
DB=$OUT/BRODANIKVESTRA_G2024_${MIB}.fdb
# An older cache of the default size kept the plain name.
if [ ! -f "$DB" ] && [ "$MIB" = 256 ] && [ -f "$OUT/BRODANIKVESTRA_G2024.fdb" ]; then
  mv "$OUT/BRODANIKVESTRA_G2024.fdb" "$DB"
fi
if [ ! -f "$DB" ]; then
  echo "generating $DB ($MIB MiB; about 90 s per 256 MiB)" >&2
  /work/shared/bench/make-fdb.sh "$DB" "$MIB" >&2
fi

tools/install-deps >&2
export BUILD_DIR=${BUILD_DIR:-build}
VORBEX=$BUILD_DIR/src/cli/vorbex.exe
[ -f "$VORBEX" ] || tools/build --target vorbex >&2
source tools/wine-env
wineserver -p 60 </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1

windows() { echo "Z:$(realpath -m "$1" | sed 's|/|\\|g')"; }
WORK=$OUT/work
rm -rf "$WORK"; mkdir -p "$WORK/in"
INPUT=$WORK/in/$(basename "$DB")
cp "$DB" "$INPUT"
cat "$INPUT" >/dev/null
INPUT_BYTES=$(stat -c %s "$INPUT")

vorbex_with() {
  rm -f "$WORK/vorbex.zip"
  VORBEX_THREADS=$1 /usr/bin/time -f "%e %M" -o "$WORK/time" \
    wine "$VORBEX" -m 1 "$(windows "$WORK/vorbex.zip")" "$(windows "$WORK/in")" "$(basename "$INPUT")"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/vorbex.zip")"
}
# 0 lets the tool take one thread per processor.
run_vorbex1() { vorbex_with 1; }
run_vorbex() { vorbex_with 0; }
run_cat() {
  /usr/bin/time -f "%e %M" -o "$WORK/time" sh -c 'cat "$1" >/dev/null' sh "$INPUT"
  echo "$(cat "$WORK/time") 0"
}
run_zip() {
  rm -f "$WORK/zip1.zip"
  /usr/bin/time -f "%e %M" -o "$WORK/time" zip -1 -q -j "$WORK/zip1.zip" "$INPUT"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/zip1.zip")"
}
run_pigz() {
  /usr/bin/time -f "%e %M" -o "$WORK/time" sh -c 'pigz -1 -p 2 -c "$1" >"$2"' sh "$INPUT" "$WORK/pigz1.gz"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/pigz1.gz")"
}
run_7z() {
  rm -f "$WORK/7z1.zip"
  /usr/bin/time -f "%e %M" -o "$WORK/time" 7z a -bd -tzip -mx=1 "$WORK/7z1.zip" "$INPUT" >/dev/null
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/7z1.zip")"
}

TOOLS="vorbex1 vorbex zip 7z pigz cat"
for t in $TOOLS; do : >"$WORK/$t.runs"; done
for i in $(seq "$RUNS"); do
  for t in $TOOLS; do "run_$t" >>"$WORK/$t.runs"; done
done
for z in vorbex zip1 7z1; do
  unzip -tq "$WORK/$z.zip" >/dev/null || { echo "$z.zip fails unzip -t" >&2; exit 1; }
done
pigz -t "$WORK/pigz1.gz"

python3 - "$INPUT_BYTES" "$RUNS" "$WORK" "$(uptime)" <<'PY'
import os, statistics, sys
size, runs, work, load = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
def load_runs(tool):
    rows = [list(map(float, line.split())) for line in open(os.path.join(work, tool + ".runs")) if line.strip()]
    return [statistics.median(col) for col in zip(*rows)]
tools = (("vorbex.exe -m 1, 1 thread (Wine)", "vorbex1"), ("vorbex.exe -m 1, all processors (Wine)", "vorbex"),
         ("zip -1", "zip"), ("7z a -tzip -mx=1", "7z"), ("pigz -1 -p 2 (gzip)", "pigz"), ("cat (read floor)", "cat"))
results = {key: load_runs(key) for _, key in tools}
rate = lambda key: size / 1e6 / results[key][0]
print("input: %d bytes (%.1f MiB), %d processors, medians of %s runs; after the runs: %s" % (
    size, size / 1048576, os.cpu_count(), runs, load.strip()))
print("| tool | time s | input MB/s | x zip -1 | x pigz -1 | output bytes | output/input | peak RSS MiB |")
print("|---|---|---|---|---|---|---|---|")
for name, key in tools:
    t, rss, out = results[key]
    print("| %s | %.2f | %.1f | %.2f | %.2f | %s | %s | %.1f |" % (
        name, t, rate(key), rate(key) / rate("zip"), rate(key) / rate("pigz"), "%d" % out if out else "-",
        "%.4f" % (out / size) if out else "-", rss / 1024))
PY
rm -rf "$WORK/in"
