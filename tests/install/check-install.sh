#!/bin/sh
# Installs くるみ箱 into a temporary prefix and checks it: bin/kurubako is a relative link to
# the real executable, the help and the manual pages are in their folders, the desktop entry
# validates and names what was installed, the icons are in the hicolor theme, the command
# line's options answer without a display or the settings, and the installed program, started
# through the link (offscreen, with a home of its own), keeps running.
# Everything it writes stays in its temporary folder.
#
# check-install.sh <build folder> <source folder> <bin folder> <data folder>
set -u
build=$1 source=$2 bindir=$3 datadir=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/kurubako-install.XXXXXX") && work=$(cd "$work" && pwd -P) || exit 1
pid=""
trap '[ -z "$pid" ] || { kill "$pid"; wait "$pid"; } 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The install script of packaging/ holds the install rules; unlike `cmake --install` it writes
# no install_manifest.txt into the build folder.
prefix=$work/prefix
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$build/packaging/cmake_install.cmake" >"$work/log" 2>&1 ||
    { cat "$work/log" >&2; echo "FAIL: the installation failed" >&2; exit 1; }

link=$prefix/$bindir/kurubako
exe=$(readlink -f "$link")
case $(readlink "$link") in
"" | /*) fail "$bindir/kurubako is no relative symbolic link" ;;
esac
case $exe in
"$prefix"/*) [ -x "$exe" ] || fail "$exe is not executable" ;;
*) fail "$bindir/kurubako leads to $exe, outside the installation"; exe="" ;;
esac
docdir=$prefix/$datadir/doc/kurubako
cmp -s "$source/doc/Kurubako.html" "$docdir/Kurubako.html" || fail "no Kurubako.html in $docdir"
for page in man/man1 man/ja/man1; do
    [ -f "$prefix/$datadir/$page/kurubako.1.gz" ] || fail "no manual page $datadir/$page/kurubako.1.gz"
done
! readelf -d "$exe" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build" ||
    fail "the installed executable looks for libraries in the build folder"

icons=$prefix/$datadir/icons/hicolor
for size in 16 32 48 64 128 256; do
    cmp -s "$source/resources/kurubako-$size.png" "$icons/${size}x$size/apps/kurubako.png" || fail "icon $size"
done
cmp -s "$source/resources/kurubako.svg" "$icons/scalable/apps/kurubako.svg" || fail "scalable icon"

desktop=$prefix/$datadir/applications/kurubako.desktop
# Errors, warnings and hints all count.
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] ||
    fail "desktop entry (desktop-file-validate comes with ./scripts/install-deps): $report"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -n "$command" ] && [ -e "$prefix/$bindir/$command" ] || fail "Exec=$command is not the installed command"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -n "$icon" ] && [ -f "$icons/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not the installed icon"

# The command line: --help and --version answer and end without a display or the settings;
# anything else is refused on the error output.
home=$work/home
mkdir -p "$home" && mkdir -m 700 "$work/runtime"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/.config" \
            XDG_RUNTIME_DIR="$work/runtime" "$link" "$@" >"$work/out" 2>"$work/err"; }
run --version && [ "$(cat "$work/out")" = "くるみ箱 1.1" ] || fail "--version: $(cat "$work/out" "$work/err")"
run -h && head -n 1 "$work/out" | grep -q '^使い方: kurubako' && grep -q '^Usage: kurubako' "$work/out" ||
    fail "-h: $(cat "$work/out" "$work/err")"
# Each refused as typed: "-platform", not its first letter.
for arguments in --frobnicate -x PostPet '-platform offscreen' --platform=xcb; do
    ! run $arguments && [ ! -s "$work/out" ] && grep -q -- ": ${arguments%%[ =]*}\$" "$work/err" ||
        fail "$arguments was not refused: $(cat "$work/out" "$work/err")"
done
# Without a display the program says so and ends, as Qt would not.
run; status=$?
[ $status -eq 1 ] && grep -q 'no display found' "$work/err" || fail "without a display: $status $(cat "$work/err")"

[ ! -e "$home/.config" ] || fail "the command line options touched the settings"

# Start-up writes the settings, then the program waits in its event loop. Qt takes the
# program's folder, where the help is looked up, from /proc/self/exe: the link resolved.
if [ -n "$exe" ]; then
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_DATA_HOME=$home/.local/share \
        XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen "$link" >"$work/output" 2>&1 &
    pid=$!
    tries=0
    until grep -q '^ver=' "$home/.config/Tobiuo/Kurubako.conf" 2>/dev/null || [ $tries -eq 200 ]; do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
        tries=$((tries + 1))
    done
    sleep 0.5
    running=$(readlink "/proc/$pid/exe")
    grep -q '^ver=' "$home/.config/Tobiuo/Kurubako.conf" 2>/dev/null || fail "no settings written at start-up"
    [ "$running" = "$exe" ] || fail "the started program (${running:-ended}) is not $exe"
    [ $failures -eq 0 ] || cat "$work/output" >&2
fi

[ $failures -eq 0 ] && echo "installation in order"
exit $((failures > 0))
