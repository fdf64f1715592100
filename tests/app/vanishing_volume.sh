#!/bin/sh
# Usage: vanishing_volume.sh BACKUP_EXE ROOT
# The target volume taken away while snimanje_backup.exe writes its archive to it: a tmpfs
# volume, drive u: of the test prefix, unmounted lazily as soon as the temporary archive appears
# on it, as a USB stick pulled out or a share that drops. The backup must fail with the drive's
# cause; the earlier archive on the volume (still reached through a second mount of it) must be
# whole; nothing of the backup may turn up on the mount point that u: now shows. Mounting needs
# root: without it the test skips (exit code 77).
set -u
exe=$1 root=$2
store=$root/store volume=$root/volume prog=$root/prog
drive=$WINEPREFIX/dosdevices/u:
release() {
    rm -f "$drive"
    for d in "$volume" "$store"; do
        mountpoint -q "$d" 2>/dev/null && umount -l "$d"
    done
    rm -rf "$prog"
    return 0
}
fail() { echo "vanishing_volume: $*"; release; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

release
mkdir -p "$store" "$volume" "$prog"
if ! mount -t tmpfs -o size=160m tmpfs "$store" 2>/dev/null; then
    echo "vanishing_volume: mount not permitted; skipped"
    exit 77
fi
mount --bind "$store" "$volume" || fail "bind mount refused"
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
ln -sfn "$volume" "$drive"

db=$prog/BRODANIKVESTRA_G2024.fdb
echo "the morning's data" >"$db"
wine "$exe" "$(winpath "$prog")" 'u:\arhiva' 2024 >"$root/out" 2>&1 || fail "the earlier backup failed: $(cat "$root/out")"
archive=$(ls "$store"/arhiva/*.zip) || fail "no earlier archive"
earlier=$(sha256sum <"$archive")

# Large enough that packing it takes a while after the temporary archive appears.
head -c $((64 << 20)) /dev/urandom >"$db"
wine "$exe" "$(winpath "$prog")" 'u:\arhiva' 2024 >"$root/out" 2>&1 &
backup=$!
tries=0
while ! ls "$volume"/arhiva/*.tmp >/dev/null 2>&1; do
    kill -0 $backup 2>/dev/null || fail "the backup ended before its archive could be taken away: $(cat "$root/out")"
    tries=$((tries + 1))
    [ $tries -lt 60000 ] || fail "no temporary archive appeared"
    sleep 0.005
done
umount -l "$volume" || fail "the volume could not be unmounted"
wait $backup
code=$?
told=$(iconv -f cp1250 -t utf-8 "$root/out")
echo "exit code $code: $told"
[ $code -eq 1 ] || fail "exit code $code, not 1"
case $told in
*"Disk u: nije dostupan"*) ;;
*) fail "not the drive's cause" ;;
esac
[ -z "$(ls -A "$volume")" ] || fail "left on the mount point: $(ls -AR "$volume")"
[ "$(sha256sum <"$archive")" = "$earlier" ] || fail "the earlier archive changed"
python3 -c "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None; assert z.read('BRODANIKVESTRA_G2024.fdb') == b\"the morning's data\\n\"" "$archive" ||
    fail "the earlier archive does not read"
echo "left on the volume itself (unreachable by its drive): $(ls -A "$store/arhiva" | tr '\n' ' ')"
release
exit 0
