#!/bin/sh
# Runs a command as a native Wayland client of a headless weston of its own: a private
# runtime folder and socket, no X server, QT_QPA_PLATFORM=wayland. Exits 77 (skipped) when
# weston or its headless back end is missing.
set -u
if ! command -v weston >/dev/null 2>&1; then
    echo "weston is not installed (apt-get install weston): the Wayland tests are skipped"
    exit 77
fi
runtime=$(mktemp -d "${TMPDIR:-/tmp}/w3-wayland.XXXXXX") || exit 1
chmod 700 "$runtime"
socket=w3-test-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --width=1600 --height=1000 >"$runtime/weston.log" 2>&1 &
compositor=$!
cleanup() {
    kill "$compositor" 2>/dev/null
    wait "$compositor" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT
# The socket appears once the compositor listens; a compositor that ended has failed.
tries=0
while [ ! -S "$runtime/$socket" ]; do
    if ! kill -0 "$compositor" 2>/dev/null || [ $tries -ge 200 ]; then
        echo "weston did not start:"
        cat "$runtime/weston.log"
        exit 77
    fi
    tries=$((tries + 1))
    sleep 0.1
done
# The socket by its full path: a test may give its programs a runtime folder of their own.
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$runtime/$socket" QT_QPA_PLATFORM=wayland "$@"
