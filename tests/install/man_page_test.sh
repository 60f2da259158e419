#!/bin/sh
# The manual page as man shows it: no formatter warnings, every section a
# user looks for, the same options as the usage screen (no more, no fewer)
# and every statement keyword of the script language.
# Usage: man_page_test.sh TESSARA MAN_PAGE SOURCE_DIR
TESSARA=$1 PAGE=$2 SRC=$3
. "$(dirname "$0")/common.sh"
export LC_ALL=C.UTF-8 MANWIDTH=100

man --warnings -l "$PAGE" > "$SCRATCH/page.txt" 2> "$SCRATCH/warnings.txt" || fail "man -l"
[ ! -s "$SCRATCH/warnings.txt" ] || { cat "$SCRATCH/warnings.txt"; fail "formatter warnings"; }
for section in NAME SYNOPSIS DESCRIPTION OPTIONS STATEMENTS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    grep -q "^$section\$" "$SCRATCH/page.txt" || fail "no section $section"
done
# The text of one section: from its heading to the next one.
section() {
    sed -n "/^$1\$/,/^[A-Z]/p" "$SCRATCH/page.txt"
}

# Options of the usage screen: its lines "        /opt ..."; "/tsr[v]" stands
# for /tsr and /tsrv.
"$TESSARA" /h < /dev/null > "$SCRATCH/usage.txt" || fail "tessara /h"
tr -d '\r' < "$SCRATCH/usage.txt" | sed -n 's#^        \(/[a-z]*\)\(\[\([a-z]\)\]\)\{0,1\}.*#\1 \1\3#p' |
    tr ' ' '\n' | sort -u > "$SCRATCH/usage-options.txt"
[ "$(wc -l < "$SCRATCH/usage-options.txt")" -ge 20 ] || fail "usage screen options not found"
# Options of the manual page: the tags of its OPTIONS list, each the first
# line of a paragraph, up to its first double blank.
section OPTIONS | awk 'prev == "" && /^       \// { sub(/^ +/, ""); sub(/  .*/, ""); print } { prev = $0 }' |
    grep -o '/[a-z][a-z]*' | sort -u > "$SCRATCH/page-options.txt"
diff "$SCRATCH/usage-options.txt" "$SCRATCH/page-options.txt" ||
    fail "options of the usage screen (<) and the manual page (>) differ"

# Every keyword of the statement table is described.
for keyword in $(grep -o '{"[a-z]*"' "$SRC/src/parser/KeywordTable.cpp" | tr -d '{"') plot; do
    section STATEMENTS | grep -q "\b$keyword\b" || fail "statement $keyword is not described"
done
echo "ok: $(tr '\n' ' ' < "$SCRATCH/page-options.txt")"
