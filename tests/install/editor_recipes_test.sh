#!/bin/sh
# Runs the editor set-ups of the user guide as they are printed there: the Vim
# mappings in Debian's vim-tiny (F6 on a visual selection, then F5 on the
# file), and Geany's build command and selection command through the shell as
# Geany starts them. tessara is taken from PATH, as the set-ups expect.
# Usage: editor_recipes_test.sh TESSARA_DIR USER_GUIDE
BIN=$1 GUIDE=$2
. "$(dirname "$0")/common.sh"
export PATH="$BIN:$PATH"

# The code block that follows the marker "<!-- recipe: NAME -->".
recipe() {
    awk -v marker="<!-- recipe: $1 -->" '
        $0 == marker { found = 1; next }
        found == 1 && /^```/ { found = 2; next }
        found == 2 && /^```/ { exit }
        found == 2 { print }' "$GUIDE"
}
# A file's lines without trailing blanks, for comparing result blocks.
lines() { sed 's/ *$//' "$1"; }

DIR="$SCRATCH/my scripts"
mkdir "$DIR"
cat > "$DIR/calc.kvx" <<'KVX'
''Circle
var = r; 2
expr = pi * r^2
expr = r * 3
''end
KVX

# Vim: the keys reach the mappings as Vim's internal codes of F5 and F6.
recipe vim > "$SCRATCH/recipe.vim"
[ -s "$SCRATCH/recipe.vim" ] || fail "no Vim recipe in the guide"
F5=$(printf '\200k5') F6=$(printf '\200k6')
vim.tiny -es -N -u "$SCRATCH/recipe.vim" -i NONE -c "normal 2GVj$F6" -c "normal 1G$F5" -c 'wq' \
    "$DIR/calc.kvx" < /dev/null > "$SCRATCH/vim.log" 2>&1 || { cat "$SCRATCH/vim.log"; fail "vim"; }
cat > "$SCRATCH/expected.kvx" <<'KVX'
''Circle
var = r; 2
expr = pi * r^2

Ln 2: Expression = pi * r^2:
       Result => Number = 12.5664

expr = r * 3
''end
KVX
lines "$DIR/calc.kvx" | diff "$SCRATCH/expected.kvx" - || fail "F6 in Vim"
[ -f "$DIR/calc.out.kvx" ] || fail "F5 in Vim wrote no calc.out.kvx"
grep -q "^'Input file: $DIR/calc.kvx" "$DIR/calc.out.kvx" || fail "F5 in Vim: header"
grep -q "Result => Number = 6.0000" "$DIR/calc.out.kvx" || fail "F5 in Vim: results"
grep -q "Result => Number = 6.0000" "$SCRATCH/vim.log" || fail "F5 in Vim shows no output"

# Geany runs build commands with sh -c after putting in %d, %f and %e.
rm "$DIR/calc.out.kvx"
CMD=$(recipe geany-build | sed -e "s|%d|$DIR|g" -e 's|%f|calc.kvx|g' -e 's|%e|calc|g')
(cd "$DIR" && sh -c "$CMD") > "$SCRATCH/geany.log" 2>&1 || { cat "$SCRATCH/geany.log"; fail "Geany build"; }
cmp -s "$DIR/calc.out.kvx" "$SCRATCH/geany.log" || fail "Geany build: the Compiler tab differs from calc.out.kvx"
grep -q "Result => Number = 6.0000" "$DIR/calc.out.kvx" || fail "Geany build: results"

# Geany's Send Selection splits its command like the shell and pipes the
# selection (here without a final line end) into it.
printf 'var = r; 2\nexpr = pi * r^2' | sh -c "$(recipe geany-selection)" > "$SCRATCH/selection.txt" ||
    fail "Geany selection"
lines "$SCRATCH/selection.txt" > "$SCRATCH/selection-lines.txt"
printf 'var = r; 2\nexpr = pi * r^2\nLn 2: Expression = pi * r^2:\n       Result => Number = 12.5664\n\n' |
    diff - "$SCRATCH/selection-lines.txt" || fail "Geany selection"
echo "ok"
