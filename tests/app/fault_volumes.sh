#!/bin/sh
# Usage: fault_volumes.sh setup|cleanup ROOT
# ROOT/full is a 2 MiB volume, drive t: of the test prefix, that a large backup fills part-way;
# ROOT/readonly is a read-only volume holding an earlier archive and a database (a program folder a
# standard user cannot write, for the restore). Mounting needs root; without
# it the volumes are missing and the tests that need them skip.
ROOT=$2
ARCHIVE=BRODANIKVESTRA_G2024_05_03_2024.zip
release() {
    rm -f "$WINEPREFIX/dosdevices/t:"
    for d in "$ROOT/full" "$ROOT/readonly"; do
        mountpoint -q "$d" 2>/dev/null && umount -l "$d"
    done
    return 0
}
case $1 in
setup)
    release
    mkdir -p "$ROOT/full" "$ROOT/readonly"
    if ! mount -t tmpfs -o size=2m tmpfs "$ROOT/full" 2>/dev/null; then
        echo "fault_volumes: mount not permitted; the full-disk and read-only tests will skip"
        exit 0
    fi
    # The drive letter needs a booted prefix: a bare folder would pass for one without c:.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    ln -sfn "$ROOT/full" "$WINEPREFIX/dosdevices/t:"
    if mount -t tmpfs -o size=1m tmpfs "$ROOT/readonly"; then
        python3 -c "import sys, zipfile; zipfile.ZipFile(sys.argv[1], 'w').writestr('BRODANIKVESTRA_G2024.fdb', 'earlier backup')" \
            "$ROOT/readonly/$ARCHIVE"
        printf 'the current database' > "$ROOT/readonly/BRODANIKVESTRA_G2024.fdb"
        mount -o remount,ro "$ROOT/readonly" || umount -l "$ROOT/readonly"
    fi
    ;;
cleanup)
    release
    ;;
esac
exit 0
