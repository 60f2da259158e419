#!/bin/sh
# Runs the editor set-ups of the user guide as they are printed there, on
# files with hostile names: the Vim mappings in Debian's vim-tiny (F6 on a
# visual selection, then F5 on the file), and Geany's build command and
# selection command as Geany starts them. tessara and tessara-selection are
# taken from PATH, as the set-ups expect.
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

recipe vim > "$SCRATCH/recipe.vim"
[ -s "$SCRATCH/recipe.vim" ] || fail "no Vim recipe in the guide"
# The keys reach the mappings as Vim's internal codes of F5 and F6.
F5=$(printf '\200k5') F6=$(printf '\200k6')
vim_keys() { # FILE KEYS...: runs the keys in Vim on FILE, writes it, logs the screen
    file=$1
    shift
    set -- "$@" -c 'wq'
    vim.tiny -es -N -u "$SCRATCH/recipe.vim" -i NONE "$@" "$file" < /dev/null > "$SCRATCH/vim.log" 2>&1
}
# Geany runs build commands with sh -c in the working directory %d after
# putting in %d, %f and %e as they are.
geany_build() { # DIR BASE
    cmd=$(recipe geany-build | awk -v d="$1" -v f="$2.kvx" -v e="$2" \
        '{ gsub(/%d/, d); gsub(/%f/, f); gsub(/%e/, e); print }')
    (cd "$1" && sh -c "$cmd")
}

# Vim itself replaces a set variable in the name of a file it edits; an unset one stays.
unset x nothing
DIR="$SCRATCH/my scripts \$nothing"
mkdir "$DIR"
printf '2*21\n' > "$DIR/data.txt"
# A decoy: a name whose "$x" the shell expanded would run this file instead.
printf 'expr = 666\n' > "$DIR/cost.kvx"

for base in 'cost$x' "it's" 'my calc' '-dash' 'a"b'; do
    file="$DIR/$base.kvx" out="$DIR/$base.out.kvx"
    cat > "$file" <<'KVX'
''Circle
var = r; 2
exprf = data.txt
expr = r * 3
''end
KVX
    # Vim: F6 on lines 2-3 reads data.txt in the file's folder; F5 evaluates the file.
    vim_keys "$file" -c "normal 2GVj$F6" -c "normal 1G$F5" || { cat "$SCRATCH/vim.log"; fail "vim on $base"; }
    printf "''Circle\nvar = r; 2\nexprf = data.txt\nLn 2: Expression = 2*21:\n       Result => Number = 42.0000\n\nexpr = r * 3\n''end\n" \
        > "$SCRATCH/expected.kvx"
    lines "$file" | diff "$SCRATCH/expected.kvx" - || fail "F6 in Vim on $base"
    grep -q "^'Input file: $file" "$out" || fail "F5 in Vim on $base: header"
    grep -q "Result => Number = 6.0000" "$SCRATCH/vim.log" || fail "F5 in Vim on $base shows no output"
    rm "$out"

    # Geany's build: the name in single quotes; a name with one breaks the
    # command, which then runs nothing.
    if geany_build "$DIR" "$base" > "$SCRATCH/geany.log" 2>&1; then
        case $base in *\'*) fail "Geany build ran with $base" ;; esac
        cmp -s "$out" "$SCRATCH/geany.log" || fail "Geany build on $base: the Compiler tab differs from the output"
        grep -q "Result => Number = 42.0000" "$out" || fail "Geany build on $base: results"
    else
        case $base in *\'*) [ ! -e "$out" ] || fail "Geany build on $base wrote $out" ;;
        *) cat "$SCRATCH/geany.log"; fail "Geany build on $base" ;; esac
    fi
    [ ! -e "$DIR/cost.out.kvx" ] || fail "the shell expanded the name $base"
done

# The build commands refuse an output file instead of making NAME.out.out.kvx.
cp "$DIR/cost.kvx" "$DIR/cost.out.kvx"
vim_keys "$DIR/cost.out.kvx" -c "normal 1G$F5" || true
grep -q "an output of Tessara" "$SCRATCH/vim.log" || { cat "$SCRATCH/vim.log"; fail "F5 in Vim on an output"; }
if geany_build "$DIR" cost.out > "$SCRATCH/geany.log" 2>&1; then fail "Geany build on an output"; fi
grep -q "is an output of Tessara" "$SCRATCH/geany.log" || fail "Geany build on an output: no message"
[ ! -e "$DIR/cost.out.out.kvx" ] || fail "an output of an output was written"

# Geany's Send Selection splits its command like the shell and pipes the
# selection (here CR LF lines, the last without a line end) into it, in the
# folder Geany was started in. The result lines keep CR LF; what tessara said
# on standard error follows them.
printf 'var = r; 2\r\nexprf = data.txt\r\nexrp = 1' | (cd "$DIR" && $(recipe geany-selection)) > "$SCRATCH/selection.txt" ||
    fail "Geany selection"
printf "var = r; 2\r\nexprf = data.txt\r\nexrp = 1\r\nLn 2: Expression = 2*21:%21s\r\n       Result => Number = 42.0000\r\n\r\nTessara: line 3: unknown keyword \"exrp\"; the line is dropped\r\n" '' |
    cmp - "$SCRATCH/selection.txt" || { od -c "$SCRATCH/selection.txt"; fail "Geany selection"; }
[ -z "$(find "$SCRATCH" -name '.tessara-selection-*')" ] || fail "the selection filter left its script behind"
echo "ok"
