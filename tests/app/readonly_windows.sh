#!/bin/sh
# Usage: readonly_windows.sh PROGRAM [ARG...]
# Runs the Windows PROGRAM under Wine with the Windows folder of the prefix read-only, as a
# standard user finds it on Windows Vista and later (Wine runs as root here, and root is refused
# nothing). Mounting needs root; without it the program runs as it is and the tests that need
# the folder read-only skip. The folder is writable again when the program ends, however it ends.
dir=$WINEPREFIX/drive_c/windows
release() {
    while mountpoint -q "$dir"; do umount "$dir" 2>/dev/null || umount -l "$dir"; done
}
release
trap release EXIT
trap 'exit 1' INT TERM
if ! { mount --bind "$dir" "$dir" 2>/dev/null && mount -o remount,bind,ro "$dir"; }; then
    release
    echo "readonly_windows: mount not permitted; the Windows folder stays writable"
fi
wine "$@"
