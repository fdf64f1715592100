#!/usr/bin/env bash
# backup.sh [SIZE_MIB] [RUNS]
#
# Backs up a generated yearly database (Firebird file, SIZE_MIB MiB, default 256) the way the
# backup tool does: vorbex.exe under Wine at compression mode 1, against Info-ZIP `zip -1`, and
# for reference the multi-threaded `pigz -1` (gzip, not ZIP) and `7z -tzip -mx=1`. They run
# in turn, RUNS times each (default 3); the table shows medians of wall time, input
# throughput, output size and peak memory (maximum resident set; for vorbex, of the Wine process
# that runs it), and vorbex's figures relative to zip's. The database is made once by
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

run_vorbex() {
  rm -f "$WORK/vorbex.zip"
  /usr/bin/time -f "%e %M" -o "$WORK/time" \
    wine "$VORBEX" -m 1 "$(windows "$WORK/vorbex.zip")" "$(windows "$WORK/in")" "$(basename "$INPUT")"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/vorbex.zip")"
}
run_zip() {
  rm -f "$WORK/zip1.zip"
  /usr/bin/time -f "%e %M" -o "$WORK/time" zip -1 -q -j "$WORK/zip1.zip" "$INPUT"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/zip1.zip")"
}
run_pigz() {
  /usr/bin/time -f "%e %M" -o "$WORK/time" sh -c 'pigz -1 -c "$1" >"$2"' sh "$INPUT" "$WORK/pigz1.gz"
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/pigz1.gz")"
}
run_7z() {
  rm -f "$WORK/7z1.zip"
  /usr/bin/time -f "%e %M" -o "$WORK/time" 7z a -bd -tzip -mx=1 "$WORK/7z1.zip" "$INPUT" >/dev/null
  echo "$(cat "$WORK/time") $(stat -c %s "$WORK/7z1.zip")"
}

TOOLS="vorbex zip pigz 7z"
for t in $TOOLS; do : >"$WORK/$t.runs"; done
for i in $(seq "$RUNS"); do
  for t in $TOOLS; do "run_$t" >>"$WORK/$t.runs"; done
done
for z in vorbex zip1 7z1; do
  unzip -tq "$WORK/$z.zip" >/dev/null || { echo "$z.zip fails unzip -t" >&2; exit 1; }
done
pigz -t "$WORK/pigz1.gz"

python3 - "$INPUT_BYTES" "$RUNS" "$WORK" <<'PY'
import os, statistics, sys
size, runs, work = int(sys.argv[1]), sys.argv[2], sys.argv[3]
def load(tool):
    rows = [list(map(float, line.split())) for line in open(os.path.join(work, tool + ".runs")) if line.strip()]
    return [statistics.median(col) for col in zip(*rows)]
v, z, p, s = load("vorbex"), load("zip"), load("pigz"), load("7z")
print("input: %d bytes (%.1f MiB), %d processors, medians of %s runs" % (size, size / 1048576, os.cpu_count(), runs))
print("| tool | time s | input MB/s | output bytes | output/input | peak RSS MiB |")
print("|---|---|---|---|---|---|")
for name, (t, rss, out) in (("vorbex.exe -m 1 (Wine)", v), ("zip -1", z), ("pigz -1", p), ("7z -tzip -mx=1", s)):
    print("| %s | %.2f | %.1f | %d | %.4f | %.1f |" % (name, t, size / 1e6 / t, out, out / size, rss / 1024))
print("| vorbex / zip | %.2f | %.2f | %.4f | | %.2f |" % (v[0] / z[0], z[0] / v[0], v[2] / z[2], v[1] / z[1]))
PY
rm -rf "$WORK/in"
