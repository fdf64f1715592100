#!/usr/bin/env bash
# whole_backup.sh [SIZE_MIB] [RUNS]
#
# One whole backup as the dialog makes it, against what an administrator would do by hand, on a
# generated yearly database of SIZE_MIB MiB (default 1024): the database is copied to a staging
# folder and the copy is packed into a ZIP archive at deflate level 1.
#   ours: snimanje_backup.exe (Wine), the dialog's own backup job: the copy to c:\temp_backup\
#         that shuts writers out, flushed, then the archive written beside its name, flushed,
#         read back and checked, and put in place; once more without reading back (-n)
#   by hand: cp, then zip -1 / 7z a -tzip -mx=1 / pigz -1 -p 2 -K (pigz's one-entry ZIP)
# They run in turn, RUNS times each (default 3), each from an empty staging folder, with the
# removal of the earlier run's files synced.
# Prints medians of wall time, input throughput, output size and peak memory, our ratios to
# each peer, and the median seconds of our backup's phases (copying, packing, verifying). Every staged copy must equal the database and every archive must pass unzip -t and
# read back to the database's bytes in Python's zipfile.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
MIB=${1:-1024}
RUNS=${2:-3}
bench_prepare "$MIB"

# The dialog's staging folder, c:\temp_backup\ of the prefix, serves every tool.
STAGE=$WINEPREFIX/drive_c/temp_backup
NAME=$(basename "$INPUT")
TARGET=$WORK/ours

# Our backup: the job takes the database from the folder it is in, as the dialog takes it from
# its own, and names the archive by today's date; the archive is then moved to where the
# checks look for it. The seconds of its phases (-v) are added to ARCHIVE's .phases file.
# our_backup ARCHIVE [OPTION...]
our_backup() {
  local archive=$1; shift
  rm -rf "$TARGET" && mkdir -p "$TARGET" &&
    wine "$BACKUP_DRIVER" -v "$@" "$(windows "$(dirname "$INPUT")")" "$(windows "$TARGET")" 2024 \
      2>"$archive.err" >/dev/null &&
    grep -E '^(copying|packing|verifying) [0-9.]+ s' "$archive.err" | tr -d '\r' >>"${archive%.zip}.phases" &&
    mv "$TARGET"/*.zip "$archive"
}
export -f our_backup windows
export INPUT STAGE NAME TARGET BACKUP_DRIVER

# backup TOOL CMD...: one timed backup into $WORK/TOOL.zip from an empty staging folder.
backup() {
  local archive=$WORK/$1.zip; shift
  fresh "$STAGE" "$archive" "$TARGET"; mkdir -p "$STAGE"
  timed "$archive" bash -c "$1" _ "$archive"
  cmp -s "$INPUT" "$STAGE/$NAME" || { echo "the staged copy differs from the database" >&2; exit 1; }
}
run_ours() { backup ours 'our_backup "$1"'; }
run_oursn() { backup oursn 'our_backup "$1" -n'; }
run_zip() { backup zip 'cp "$INPUT" "$STAGE/" && zip -1 -q -j "$1" "$STAGE/$NAME"'; }
run_7z() { backup 7z 'cp "$INPUT" "$STAGE/" && 7z a -bd -tzip -mx=1 "$1" "$STAGE/$NAME" >/dev/null'; }
run_pigz() { backup pigz 'cp "$INPUT" "$STAGE/" && pigz -1 -p 2 -K -c "$STAGE/$NAME" >"$1"'; }

rm -f "$WORK"/ours.phases "$WORK"/oursn.phases
bench_rounds "$RUNS" ours oursn zip 7z pigz
python3 bench/check_archive.py "$INPUT" "$WORK"/{ours,oursn,zip,7z,pigz}.zip
bench_table "$RUNS" ours,oursn zip,7z,pigz \
  "ours=snimanje_backup.exe, verified (Wine)" "oursn=snimanje_backup.exe -n, not verified (Wine)" \
  "zip=cp + zip -1" "7z=cp + 7z a -tzip -mx=1" \
  "pigz=cp + pigz -1 -p 2 -K"
# Where our time goes: the median seconds of each phase.
for t in ours oursn; do
  python3 - "$t" "$WORK/$t.phases" <<'PY'
import statistics, sys
seconds = {}
for line in open(sys.argv[2]):
    phase, value, _ = line.split()
    seconds.setdefault(phase, []).append(float(value))
print("phases of %s (medians): %s" % (sys.argv[1], ", ".join(
    "%s %.2f s" % (phase, statistics.median(seconds[phase]))
    for phase in ("copying", "packing", "verifying") if phase in seconds)))
PY
done
rm -rf "$WORK/in" "$STAGE" "$TARGET" "$WORK"/*.zip "$WORK"/*.err  # a GiB and more; the .runs files stay
