#!/bin/sh
# End-to-end tests of vexa-batch: the README's example exactly as written there, each shipped
# script of share/vScript/ on real files (also with templates on, over abbreviations, braces and
# tabs), a keyboard-macro file and the argument errors.
# Usage: batch_examples.sh VEXA_BATCH SOURCE_DIR
set -eu
batch=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEXA_HOME="$work/home"
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# expect NAME FILE EXPECTED-TEXT: the file must hold exactly the text (printf format).
expect() {
    printf -- "$3" > "$work/expected"
    if ! cmp -s "$2" "$work/expected"; then
        fail "$1"
        diff "$work/expected" "$2" >&2 || true
    fi
}

# The README example, run as written in its block, from a directory holding share/.
mkdir "$work/readme" "$work/bin"
ln -s "$source_dir/share" "$work/readme/share"
ln -s "$batch" "$work/bin/vexa-batch"
sed -n '/<!-- vexa-batch example -->/,/^```$/p' "$source_dir/README.md" | sed '1,2d;$d' > "$work/readme.sh"
[ -s "$work/readme.sh" ] || fail "README example not found"
(cd "$work/readme" && PATH="$work/bin:$PATH" sh -e "$work/readme.sh" > "$work/readme.out" 2>&1) || fail "README example"
expect "README example" "$work/readme/hello.c" 'int main()\n{\n    return 0;\n}\n'

scripts="$source_dir/share/vScript"

printf 'alpha\n\tbeta\nx\ty\tz\n' > "$work/tabs.c"
"$batch" -w -x "$scripts/tabs_to_spaces.zm 4" "$work/tabs.c" > "$work/out" 2> "$work/err" || fail "tabs_to_spaces run"
expect "tabs_to_spaces" "$work/tabs.c" 'alpha\n    beta\nx   y   z\n'
grep -q 'Replaced 3 tabs' "$work/err" || fail "tabs_to_spaces message"
grep -qx 'Macro completed.' "$work/out" || fail "tabs_to_spaces output"

printf 'one\ntwo\nthree\n' > "$work/lines.txt"
"$batch" -w -x "$scripts/number_lines.zm 10" "$work/lines.txt" > /dev/null 2>&1 || fail "number_lines run"
expect "number_lines" "$work/lines.txt" '10: one\n11: two\n12: three\n'

printf 'int x;\n' > "$work/head.c"
"$batch" -w -x "$scripts/c_header.zm Holds x" "$work/head.c" > /dev/null 2>&1 || fail "c_header run"
today=$(date +%Y-%m-%d)
expect "c_header" "$work/head.c" "/*\n * File:    head.c\n * Created: $today\n * Holds x\n */\nint x;\n"

printf 'a();\nb();\n' > "$work/if0.c"
"$batch" -w -x "$scripts/if0_block.zm" "$work/if0.c" > /dev/null 2>&1 || fail "if0_block run"
expect "if0_block" "$work/if0.c" '#if 0\na();\n#endif\nb();\n'

# A keyboard macro (Home, "- ", Down) played three times: 140 header bytes and four events.
[ "$(wc -c < "$source_dir/tests/app/data/bullet.mac")" -eq 172 ] || fail "macro fixture size"
printf 'a\nb\nc\nd\n' > "$work/list.txt"
"$batch" -w -m "$source_dir/tests/app/data/bullet.mac" -n 3 "$work/list.txt" > /dev/null 2>&1 || fail "macro run"
expect "macro played three times" "$work/list.txt" '- a\n- b\n- c\nd\n'
set +e
"$batch" -m "$work/tabs.c" "$work/list.txt" > /dev/null 2> "$work/err"
code=$?
set -e
[ "$code" -eq 1 ] || fail "foreign macro file exit code $code"
grep -q 'unknown format' "$work/err" || fail "foreign macro file message"

# A 70,000-byte line and a 3,000-byte UTF-8 line after the edited one are written back whole.
long=$(head -c 70000 /dev/zero | tr '\0' 'j')
utf8=$(i=0; while [ $i -lt 500 ]; do printf '\303\274\342\202\254a'; i=$((i + 1)); done)
printf 'a();\n%s\n%s\n' "$long" "$utf8" > "$work/long.c"
printf '#if 0\na();\n#endif\n%s\n%s\n' "$long" "$utf8" > "$work/long.expected"
"$batch" -w -x "$scripts/if0_block.zm" "$work/long.c" > /dev/null 2> "$work/err" || fail "long lines run"
cmp -s "$work/long.c" "$work/long.expected" || fail "long lines written back whole"
[ ! -s "$work/err" ] || ! grep -q 'too long' "$work/err" || fail "long lines warning"

# Without -w nothing is written.
printf '\tq\n' > "$work/keep.c"
"$batch" -x "$scripts/tabs_to_spaces.zm" "$work/keep.c" > /dev/null 2>&1 || fail "run without -w"
expect "no -w keeps the file" "$work/keep.c" '\tq\n'

# A script that does not parse fails with 1 and reports on standard output.
printf 'int main() { x = ; }\n' > "$work/bad.zm"
set +e
"$batch" -x "$work/bad.zm" "$work/keep.c" > "$work/out" 2> /dev/null
code=$?
set -e
[ "$code" -eq 1 ] || fail "bad script exit code $code"
grep -q 'parse error' "$work/out" || fail "bad script report"

# Bad arguments: 2 with the usage text.
for args in "" "-x" "-m a.mac -x b.zm f" "-q f" "-n 0 -m a.mac f" "-x s.zm"; do
    set +e
    # shellcheck disable=SC2086
    "$batch" $args > /dev/null 2> "$work/err"
    code=$?
    set -e
    [ "$code" -eq 2 ] || fail "arguments '$args' gave $code"
    grep -q '^Usage: vexa-batch' "$work/err" || fail "arguments '$args' without usage"
done
"$batch" --help | grep -q '^Usage: vexa-batch' || fail "--help"
"$batch" --version | grep -q '^vexa-batch ' || fail "--version"

# A missing file fails with 1.
set +e
"$batch" -x "$scripts/if0_block.zm" "$work/no-such-dir/none.c" > /dev/null 2>&1
code=$?
set -e
[ "$code" -eq 1 ] || fail "missing file exit code $code"

# The shipped scripts with the default settings (templates, smart indent and brace on) on inputs
# holding abbreviations, braces and tabs: the text goes in as written, byte for byte.
# shipped NAME INPUT EXPECTED SCRIPT-COMMAND-LINE (INPUT and EXPECTED in printf format).
shipped() {
    printf -- "$2" > "$work/in.c"
    "$batch" -w -x "$4" "$work/in.c" > "$work/out" 2>&1 || fail "$1 run"
    expect "$1" "$work/in.c" "$3"
}
# The control: a script that leaves the typing aids on gets the template expansion.
printf 'int main() { put_string("if "); }\n' > "$work/aids_on.zm"
printf '\n' > "$work/in.c"
"$batch" -w -x "$work/aids_on.zm" "$work/in.c" > /dev/null 2>&1 || fail "templates control run"
[ "$(wc -l < "$work/in.c")" -gt 1 ] || fail "templates are not on: the shipped script cases prove nothing"
shipped "tabs_to_spaces with templates" '\tif\t(x)\n{\n\tfor\t(;;) {}\n\twhile\tx\n}\n' \
    '    if  (x)\n{\n    for (;;) {}\n    while   x\n}\n' "$scripts/tabs_to_spaces.zm 4"
shipped "tabs_to_spaces default size" 'if\tx {\n' 'if      x {\n' "$scripts/tabs_to_spaces.zm"
shipped "number_lines with templates" 'if\n{\n\tfor x\n' '1: if\n2: {\n3: \tfor x\n' "$scripts/number_lines.zm"
shipped "c_header with templates" '{\n\tif x\n' \
    "/*\n * File:    in.c\n * Created: $today\n * if while for {\n */\n{\n\tif x\n" \
    "$scripts/c_header.zm if while for {"
shipped "if0_block with templates" '\tif (x) {\n\t\tfor (;;) {}\n\t}\n' \
    '#if 0\n\tif (x) {\n#endif\n\t\tfor (;;) {}\n\t}\n' "$scripts/if0_block.zm"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all vexa-batch examples passed"
