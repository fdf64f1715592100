# Sourced by the benchmarks: the input, our programs under Wine, timed runs taken in turn, the table.
#
# bench_prepare MIB    installs what the benchmarks need, makes (or takes from the cache) a yearly
#                      database of MIB MiB, builds vorbex.exe and snimanje_backup.exe when missing,
#                      starts Wine's session and puts the database as $INPUT
#                      (BRODANIKVESTRA_G2024.fdb in $WORK/in), read once, so that every run reads it
#                      from the page cache.
# bench_rounds RUNS TOOL...   runs run_TOOL for each TOOL in turn, RUNS rounds; each prints
#                      "seconds peak-KiB output-bytes cpu-seconds", collected in $WORK/TOOL.runs.
# timed OUTPUT CMD...  runs CMD under /usr/bin/time and prints that line for OUTPUT (0 when none).
# fresh PATH...        removes what an earlier run left there and syncs.
#
# Peak memory is the maximum resident set of the command's processes. For a Wine program that is
# the program's own process: wineserver and Wine's service processes run before and after it,
# started by bench_prepare and kept up for the whole benchmark, and are not counted.

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
  # One server for the whole benchmark: a server already running may have been started to end
  # with its last program, and one that ends between our runs (the peers take a minute) is
  # started again by the next, whose clock then runs through Wine's start (some three seconds
  # of its services, beside the program). It ends ten minutes after the last run.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p 600 </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1
  rm -rf "$WORK"; mkdir -p "$WORK/in"
  INPUT=$WORK/in/BRODANIKVESTRA_G2024.fdb
  cp "$db" "$INPUT"
  cat "$INPUT" >/dev/null
  INPUT_BYTES=$(stat -c %s "$INPUT")
}

# The removal goes to the disk before the clock starts, so that a program that flushes (ours
# does) does not wait for the freeing of the files of the runs before it.
fresh() {
  rm -rf "$@"
  sync
}

timed() {
  local output=$1; shift
  /usr/bin/time -f "%e %M %U %S" -o "$WORK/time" "$@" || { echo "failed: $*" >&2; exit 1; }
  local wall peak user sys
  read -r wall peak user sys <"$WORK/time"
  echo "$wall $peak $([ -e "$output" ] && stat -c %s "$output" || echo 0) $(LC_ALL=C awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
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
