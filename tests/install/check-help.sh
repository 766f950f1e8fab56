#!/bin/sh
# Checks what the help document tells against the program: what a double-click does until it
# is changed, where the version box is opened, that only a move refreshes the lists after an
# error box (a refused rename keeps its dialog open), and that each message it quotes is one
# the program shows, word for word.
#
# check-help.sh <source folder>
set -u
source=$1
help=$source/doc/Kurubako.html
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The text without tags, one sentence a line.
text=$(sed 's/<[^>]*>//g' "$help" | tr -d '\n' | sed 's/。/。\n/g')
sentences() { printf '%s\n' "$text" | grep -- "$1"; }

sentences 'はじめは「追加(待避)する」' | grep -q . ||
    fail "the help does not say that a double-click moves until the setting is changed"
sentences 'ﾊﾞｰｼﾞｮﾝ情報' | grep -q '「ﾍﾙﾌﾟ」' ||
    fail "the help does not say where the version box (ﾍﾙﾌﾟ → ﾊﾞｰｼﾞｮﾝ情報) is opened"
sentences '表示し直され' | grep -v -q '移' && fail "the help says that the lists are shown afresh after any error box"
sentences '名前の変更が断られた' | grep -q '開いたまま' ||
    fail "the help does not say that a refused rename keeps the rename dialog open"

# The messages of the error list, each in <strong>…</strong>, are the program's own.
sed -n '/id="errors"/,/<\/ul>/s/.*<li><strong>\([^<]*\)<\/strong>.*/\1/p' "$help" >"${TMPDIR:-/tmp}/kurubako-help.$$"
while IFS= read -r message; do
    case $message in *エラー* | *とき) continue ;; esac # a title or a situation, no message
    grep -rqF -- "$message" "$source/src" || fail "the program shows no message \"$message\""
done <"${TMPDIR:-/tmp}/kurubako-help.$$"
rm -f "${TMPDIR:-/tmp}/kurubako-help.$$"

[ $failures -eq 0 ] && echo "help document in order"
exit $((failures > 0))
