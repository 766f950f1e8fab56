#!/bin/sh
# Makes the Debian package of the build into a temporary folder and checks it with lintian and
# appstreamcli, and its relations: Qt's own texts in Japanese (qt6-translations-l10n) and the
# fonts are dependencies, the opener of the help and Wine, which starts PostPet, are
# recommended; and every dependency beyond the libraries is one that ./scripts/install-deps
# installs for the build's tests.
#
# check-package.sh <build folder> <source folder>
set -u
build=$1 source=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/kurubako-package.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/log" 2>&1 ||
    { cat "$work/log" >&2; echo "FAIL: cpack made no package" >&2; exit 1; }
set -- "$work"/kurubako_*.deb
[ -f "$1" ] || { echo "FAIL: no kurubako_*.deb in $work" >&2; exit 1; }
package=$1

# relation <field>: the package names of a field, one a line, without versions.
relation() { dpkg-deb -f "$package" "$1" | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | grep -v '^$'; }
has() { relation "$1" | grep -qx "$2"; }

for name in fonts-ipafont-gothic qt6-translations-l10n; do
    has Depends "$name" || fail "Depends lacks $name: $(dpkg-deb -f "$package" Depends)"
done
for name in xdg-utils wine; do
    has Recommends "$name" || fail "Recommends lacks $name: $(dpkg-deb -f "$package" Recommends)"
done
for field in Recommends Suggests; do
    has "$field" qt6-translations-l10n && fail "qt6-translations-l10n is only in $field"
done
has Suggests wine && fail "wine is only suggested"

for name in $(relation Depends | grep -v '^lib'); do
    grep -qw -- "$name" "$source/scripts/install-deps" || fail "scripts/install-deps does not install $name"
done

# Debian's own checks: lintian without an error, a warning or even an information tag (an
# override needs a reason given in the override file), and the AppStream metadata.
# The sanitizer and fuzz builds go without the hardening flags (cmake/hardening.cmake).
unhardened=""
grep -Eqi '^KURUBAKO_(SANITIZE|FUZZ):BOOL=(ON|TRUE|YES|1)$' "$build/CMakeCache.txt" &&
    unhardened="--suppress-tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro"
# shellcheck disable=SC2086
report=$(lintian --display-info $unhardened "$package" 2>&1 | grep -v '^running with root privileges')
[ -z "$report" ] || fail "lintian (./scripts/install-deps installs it):
$report"
dpkg-deb -x "$package" "$work/contents"
set -- "$work"/contents/usr/share/metainfo/*.metainfo.xml
[ -f "$1" ] || fail "no AppStream metadata in usr/share/metainfo/"
for metainfo; do
    appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream" 2>&1 ||
        fail "appstreamcli validate $(basename "$metainfo"):
$(cat "$work/appstream")"
done

[ $failures -eq 0 ] && echo "package relations, lintian and AppStream in order"
exit $((failures > 0))
