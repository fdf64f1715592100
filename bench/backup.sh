#!/usr/bin/env bash
# backup.sh [SIZE_MIB] [RUNS]
#
# The archiver alone on a generated yearly database (Firebird file, SIZE_MIB MiB, default 256):
# vorbex.exe under Wine at compression mode 1, reading the archive back as it does by default,
# once on one thread (-t 1) and once on all processors, and on all processors without reading
# back (-n), against Info-ZIP `zip -1`, and for reference `7z -tzip -mx=1`, `pigz -1 -p 2`
# (gzip, not ZIP) and `cat` (reading the input, the floor). They run in turn, RUNS times each
# (default 3); the tables show medians of wall time, input throughput, output size and peak
# memory, and vorbex's ratios to each of the others. The ZIP archives must pass unzip -t and
# read back to the database in Python's zipfile, the gzip file pigz -t.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
MIB=${1:-256}
RUNS=${2:-3}
bench_prepare "$MIB"

# vorbex_with ARCHIVE [OPTION...]
vorbex_with() {
  local archive=$WORK/$1; shift
  fresh "$archive"
  timed "$archive" wine "$VORBEX" -m 1 "$@" "$(windows "$archive")" "$(windows "$WORK/in")" "$(basename "$INPUT")"
}
# Without -t the tool takes one thread per processor.
run_vorbex1() { vorbex_with vorbex1.zip -t 1; }
run_vorbex() { vorbex_with vorbex.zip; }
run_vorbexn() { vorbex_with vorbexn.zip -n; }
run_cat() { timed "" sh -c 'cat "$1" >/dev/null' sh "$INPUT"; }
run_zip() { fresh "$WORK/zip1.zip"; timed "$WORK/zip1.zip" zip -1 -q -j "$WORK/zip1.zip" "$INPUT"; }
run_pigz() { fresh "$WORK/pigz1.gz"; timed "$WORK/pigz1.gz" sh -c 'pigz -1 -p 2 -c "$1" >"$2"' sh "$INPUT" "$WORK/pigz1.gz"; }
run_7z() {
  fresh "$WORK/7z1.zip"
  timed "$WORK/7z1.zip" sh -c '7z a -bd -tzip -mx=1 "$1" "$2" >/dev/null' sh "$WORK/7z1.zip" "$INPUT"
}

bench_rounds "$RUNS" vorbex1 vorbex vorbexn zip 7z pigz cat
python3 bench/check_archive.py "$INPUT" "$WORK"/{vorbex1,vorbex,vorbexn,zip1,7z1}.zip
pigz -t "$WORK/pigz1.gz"
bench_table "$RUNS" vorbex1,vorbex,vorbexn zip,7z,pigz,cat \
  "vorbex1=vorbex.exe -m 1, 1 thread, verified (Wine)" "vorbex=vorbex.exe -m 1, all processors, verified (Wine)" \
  "vorbexn=vorbex.exe -m 1 -n, all processors, not verified (Wine)" \
  "zip=zip -1" "7z=7z a -tzip -mx=1" "pigz=pigz -1 -p 2 (gzip)" "cat=cat (read floor)"
rm -rf "$WORK/in" "$WORK"/*.zip "$WORK"/*.gz  # the .runs files stay
