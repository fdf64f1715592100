# Sourced by the benchmarks: the input, our programs under Wine, timed runs taken in turn, the table.
#
# bench_prepare MIB    installs what the benchmarks need, makes (or takes from the cache) a yearly
#                      database of MIB MiB, builds vorbex.exe and snimanje_backup.exe when missing,
#                      starts Wine's session and puts the database as $INPUT
#                      (BRODANIKVESTRA_G2024.fdb in $WORK/in), read once, so that every run reads it
#                      from the page cache.
# bench_rounds RUNS TOOL...   runs run_TOOL for each TOOL in turn, RUNS rounds; each prints
#                      "seconds peak-KiB output-bytes", collected in $WORK/TOOL.runs.
# timed OUTPUT CMD...  runs CMD under /usr/bin/time and prints that line for OUTPUT (0 when none).
#
# Peak memory is the maximum resident set of the command's processes. For a Wine program that is
# the program's own process: wineserver and Wine's service processes run before and after it,
# started by bench_prepare, and are not counted.

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
export BUILD_DIR=${BUILD_DIR:-build}
VORBEX=$BUILD_DIR/src/cli/vorbex.exe
BACKUP_DRIVER=$BUILD_DIR/src/cli/snimanje_backup.exe
OUT=bench/out
WORK=$OUT/work

windows() { echo "Z:$(realpath -m "$1" | sed 's|/|\\|g')"; }

bench_prepare() {
  tools/install-deps >&2
  local db
  db=$(bench/make-yearly-db "$1")
  [ -f "$VORBEX" ] || tools/build --target vorbex >&2
  [ -f "$BACKUP_DRIVER" ] || tools/build --target snimanje_backup >&2
  source tools/wine-env
  wineserver -p 60 </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1
  rm -rf "$WORK"; mkdir -p "$WORK/in"
  INPUT=$WORK/in/BRODANIKVESTRA_G2024.fdb
  cp "$db" "$INPUT"
  cat "$INPUT" >/dev/null
  INPUT_BYTES=$(stat -c %s "$INPUT")
}

timed() {
  local output=$1; shift
  /usr/bin/time -f "%e %M" -o "$WORK/time" "$@" || { echo "failed: $*" >&2; exit 1; }
  echo "$(cat "$WORK/time") $([ -e "$output" ] && stat -c %s "$output" || echo 0)"
}

bench_rounds() {
  local runs=$1 t i; shift
  for t in "$@"; do : >"$WORK/$t.runs"; done
  for i in $(seq "$runs"); do
    for t in "$@"; do
      sync  # no run pays for the writes of the one before
      "run_$t" >>"$WORK/$t.runs"
    done
  done
}

# bench_table RUNS OURS PEERS LABELS...: see bench/table.py.
bench_table() {
  python3 bench/table.py "$INPUT_BYTES" "$WORK" "$(uptime)" "$@"
}
