#!/bin/sh
# Runs a window test as a native Wayland client on a weston compositor of its own (headless):
# there the compositor places the windows and tells no position.
# Skips (77) only when weston cannot start.
#
# check-wayland.sh <QtTest program> <test function>
set -u
test=$1 function=$2
. "$(dirname "$0")/wait-for.sh"

if ! command -v weston >/dev/null 2>&1; then
    echo "SKIP: weston is not installed (./scripts/install-deps installs it)"
    exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/kurubako-wayland.XXXXXX") || exit 1
chmod 700 "$work"
weston=""
cleanup() {
    [ -n "$weston" ] && kill "$weston" 2>/dev/null && wait "$weston" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

export XDG_RUNTIME_DIR="$work"
weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 --no-config \
    >"$work/weston.log" 2>&1 &
weston=$!
if ! wait_for "$weston" [ -S "$work/wayland-test" ]; then
    echo "SKIP: weston could not start:"
    cat "$work/weston.log"
    exit 77
fi
unset DISPLAY
# Under LeakSanitizer: Debian 12's Qt Wayland plugin leaves a few of libwayland-client's
# objects allocated at exit. The sanitizers' other checks stay on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland "$test" "$function"
