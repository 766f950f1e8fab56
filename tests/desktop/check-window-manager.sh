#!/bin/sh
# Runs くるみ箱 three times under a real window manager (openbox on an Xvfb display), each run
# from the settings the run before stored, and checks that
# - the main window opens with its outer top-left corner (frame and title bar included, as
#   _NET_FRAME_EXTENTS tells) at the stored "top" and "left";
# - a run that only opens and closes the window stores the values it read, whether it is
#   closed with F8 or through the window manager;
# - the settings dialog stands 1000 twips below the main window's outer top, centred on its
#   outer frame.
# The program gets a home and settings of its own; nothing outside a temporary folder is
# touched. Skips (77) only when no Xvfb display can be had.
#
# check-window-manager.sh <kurubako executable>
set -u
program=$1
. "$(dirname "$0")/wait-for.sh"

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed (./scripts/install-deps installs it)"
    exit 77
fi
for tool in openbox xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "FAIL: $tool is not installed (./scripts/install-deps installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kurubako-wm.XXXXXX") || exit 1
xvfb="" wm="" pid=""
cleanup() {
    for process in $pid $wm $xvfb; do
        kill "$process" 2>/dev/null && wait "$process" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Window titles are Japanese: the tools read them in a Japanese UTF-8 locale where there is one.
if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then LC_ALL=ja_JP.UTF-8; else LC_ALL=C.UTF-8; fi
export LC_ALL
home=$work/home
mkdir -p "$home/.config/Tobiuo" "$work/PostPet/おやつ" && mkdir -m 700 "$work/runtime" || exit 1
: >"$work/PostPet/おやつ/りんご.pac"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
unset WINEPREFIX QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
# Under AddressSanitizer: Debian 12's libxkbcommon-x11 copies X11 atom names with strndup()
# from buffers that hold no terminating NUL, which the sanitizer's strndup() reads past. The
# rest of the sanitizer's checks stay on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0"

# A display of its own: Xvfb picks a free number and writes it to fd 3. 96 dots per inch, so
# that 15 twips are one pixel.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
if ! wait_for "$xvfb" [ -s "$work/display" ]; then
    echo "SKIP: Xvfb could not start a display:"
    cat "$work/xvfb.log"
    exit 77
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY

openbox >"$work/openbox.log" 2>&1 &
wm=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "$wm" managed || { cat "$work/openbox.log" >&2; echo "FAIL: openbox did not start" >&2; exit 1; }

settings=$home/.config/Tobiuo/Kurubako.conf
setting() { sed -n "s/^$1=//p" "$settings"; }

# Questions off, so that F8 and the window manager's close end the run at once. The position
# is no whole number of pixels: it must come back unchanged all the same.
cat >"$settings" <<EOF
[General]
top=1507
left=2993
Chk1=True
Chk2=0
ver=1.1
postpet_dir=$work/PostPet
EOF

# geometry <window>: "left top width height" of its outer frame, once it is mapped, framed
# and has stood still for a moment (empty when it never does).
geometry() {
    previous="" tries=0
    while [ $tries -lt 100 ]; do
        info=$(xwininfo -id "$1" 2>/dev/null)
        extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ,)
        if echo "$info" | grep -q 'IsViewable' && [ -n "$extents" ]; then
            current=$(echo "$info $extents" | awk -v extents="$extents" '
                /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                /Width:/ { w = $2 } /Height:/ { h = $2 }
                END { split(extents, e, " ")
                      print x - e[1], y - e[3], w + e[1] + e[2], h + e[3] + e[4] }')
            [ "$current" = "$previous" ] && { echo "$current"; return; }
            previous=$current
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
}

# find_window <name pattern>: the program's window of that title, waiting for it to appear.
find_window() {
    tries=0
    while [ $tries -lt 100 ]; do
        found=$(xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return; }
        kill -0 "$pid" 2>/dev/null || return
        sleep 0.1
        tries=$((tries + 1))
    done
}

# Twips to pixels as the program turns them: to the nearest pixel.
pixels() { awk -v twips="$1" 'BEGIN { p = twips / 15; printf "%d\n", p < 0 ? p - 0.5 : p + 0.5 }'; }

for run in 1 2 3; do
    top=$(setting top) left=$(setting left)
    "$program" >"$work/output.$run" 2>&1 &
    pid=$!
    main=$(find_window 'PostPet くるみ箱 Ver')
    if [ -z "$main" ]; then
        fail "run $run: no main window"; cat "$work/output.$run" >&2; break
    fi
    set -- $(geometry "$main")
    if [ $# -ne 4 ]; then
        fail "run $run: the main window never stood framed on the screen"; break
    fi
    main_left=$1 main_top=$2 main_width=$3
    [ "$main_left,$main_top" = "$(pixels "$left"),$(pixels "$top")" ] ||
        fail "run $run: outer corner at $main_left,$main_top; stored left=$left, top=$top"

    if [ $run -eq 1 ]; then
        # 設定(&C) in ｵﾌﾟｼｮﾝ(&O).
        xdotool windowactivate --sync "$main" key alt+o
        sleep 0.3
        xdotool key c
        dialog=$(find_window '設定♪')
        if [ -z "$dialog" ]; then
            fail "no settings dialog"
        else
            set -- $(geometry "$dialog")
            # 1000 twips below the main window's top; centred on it (a pixel either way for the
            # rounding of the halves).
            want_top=$(pixels $((main_top * 15 + 1000)))
            offset=$(((2 * $1 + $3) - (2 * main_left + main_width)))
            [ $# -eq 4 ] && [ "$2" = "$want_top" ] && [ "${offset#-}" -le 2 ] ||
                fail "settings dialog's frame at ${1:-?},${2:-?} (width ${3:-?}); main window's at" \
                    "$main_left,$main_top (width $main_width): the dialog belongs at top $want_top, centred"
            xdotool windowactivate --sync "$dialog" key Escape
            sleep 0.3
        fi
    fi

    # The last run closes through the window manager (its Alt+F4), the others with F8.
    if [ $run -eq 3 ]; then key=alt+F4; else key=F8; fi
    xdotool windowactivate --sync "$main" key "$key"
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "run $run: $key did not end the program"; break
    fi
    wait "$pid"
    pid=""
    [ "$(setting top),$(setting left)" = "$top,$left" ] ||
        fail "run $run read top=$top, left=$left and stored top=$(setting top), left=$(setting left)"
done

[ $failures -eq 0 ] && echo "window positions in order under a window manager"
exit $((failures > 0))
