#!/bin/sh
# Installs くるみ箱 into a temporary prefix and checks the installation: bin/kurubako is a
# relative link to the real executable, the help lies beside that executable, the desktop
# entry validates and names what was installed, the icons are in the hicolor theme, and the
# installed program starts (offscreen) and runs from the folder that holds its help.
#
# check-install.sh <build folder> <source folder> <bin folder> <data folder>
# (the last two relative to the prefix, as GNUInstallDirs names them)
#
# Everything it writes, the program's settings and caches too, stays in its temporary folder.
set -u

build=$1
source=$2
bindir=$3
datadir=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/kurubako-install.XXXXXX") || exit 1
work=$(cd "$work" && pwd -P)
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The install script of packaging/ holds the project's install rules; unlike `cmake --install`,
# it writes no install_manifest.txt into the build folder.
prefix=$work/prefix
if ! cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$build/packaging/cmake_install.cmake" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: the installation failed" >&2
    exit 1
fi

# The command and the program's own folder.
link=$prefix/$bindir/kurubako
exe=""
if [ ! -L "$link" ]; then
    fail "$bindir/kurubako is not a symbolic link"
else
    case $(readlink "$link") in
    /*) fail "$bindir/kurubako -> $(readlink "$link") is not relative" ;;
    esac
    exe=$(readlink -f "$link")
    case $exe in
    "$prefix"/*) ;;
    *) fail "$bindir/kurubako resolves to $exe, outside the installation" ;;
    esac
    if [ ! -f "$exe" ] || [ ! -x "$exe" ]; then
        fail "$bindir/kurubako resolves to $exe, which is no executable file"
        exe=""
    fi
fi
if [ -n "$exe" ]; then
    cmp -s "$source/doc/Kurubako.html" "$(dirname "$exe")/Kurubako.html" ||
        fail "Kurubako.html is not beside the executable $exe"
    if readelf -d "$exe" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "the installed executable still looks for libraries in the build folder"
    fi
fi

# The icons and the desktop entry.
icons=$prefix/$datadir/icons/hicolor
for size in 16 32 48 64 128 256; do
    cmp -s "$source/resources/kurubako-$size.png" "$icons/${size}x$size/apps/kurubako.png" ||
        fail "icon ${size}x$size missing or different"
done
cmp -s "$source/resources/kurubako.svg" "$icons/scalable/apps/kurubako.svg" || fail "scalable icon missing or different"

desktop=$prefix/$datadir/applications/kurubako.desktop
if [ ! -f "$desktop" ]; then
    fail "no desktop entry"
elif ! command -v desktop-file-validate >/dev/null 2>&1; then
    fail "desktop-file-validate is missing (package desktop-file-utils; ./scripts/install-deps installs it)"
else
    # Errors, warnings and hints all count.
    report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "desktop entry: $report"
    command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -n "$command" ] && [ -e "$prefix/$bindir/$command" ] || fail "Exec=$command is not the installed command"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -n "$icon" ] && [ -f "$icons/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not the installed icon"
fi

# A start through the link, with a home, settings and caches of its own. Start-up writes
# the settings; the program then waits in its event loop. Qt takes the program's folder
# from /proc/self/exe, the link resolved, and the help is looked up in that folder.
if [ -n "$exe" ]; then
    home=$work/home
    mkdir -p "$home" && mkdir -m 700 "$work/runtime"
    (
        cd "$work" || exit 1
        HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_DATA_HOME=$home/.local/share \
            XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen exec "$link"
    ) >"$work/output" 2>&1 &
    pid=$!
    settings=$home/.config/Tobiuo/Kurubako.conf
    tries=0
    while ! grep -q '^ver=' "$settings" 2>/dev/null && kill -0 "$pid" 2>/dev/null && [ $tries -lt 200 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    sleep 0.5
    if ! grep -q '^ver=' "$settings" 2>/dev/null; then
        fail "the installed program wrote no settings at start-up"
    fi
    running=$(readlink "/proc/$pid/exe" 2>/dev/null)
    if ! kill -0 "$pid" 2>/dev/null || [ -z "$running" ]; then
        fail "the installed program did not keep running"
    elif [ "$running" != "$exe" ]; then
        fail "the started program is $running, not $exe"
    elif [ ! -f "$(dirname "$running")/Kurubako.html" ]; then
        fail "no Kurubako.html in the running program's folder $(dirname "$running")"
    fi
    if [ $failures -gt 0 ]; then
        echo "--- output of the installed program:" >&2
        cat "$work/output" >&2
    fi
fi

[ $failures -eq 0 ] && echo "installation in order"
exit $((failures > 0))
