#!/bin/sh
# The exit status of vexa-batch and what a run saves: the script's return code after a clean run,
# 1 after a warning, a refused edit, an unreadable input, a fatal error or a failed save (and then
# nothing is saved), 2 for bad arguments.
# Usage: batch_exit_status.sh VEXA_BATCH
set -eu
batch=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEXA_HOME="$work/home"
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# run NAME EXPECTED-CODE EXPECTED-TEXT SCRIPT-BODY [FILE...]: writes the script, puts "abc\n" in
# the file f.txt, runs the script with -w on the files given (f.txt when none) and checks the exit
# status and what f.txt holds afterwards (printf format).
run() {
    name=$1 code=$2 text=$3 body=$4
    shift 4
    printf 'int main() {\n%s\n}\n' "$body" > "$work/s.zm"
    printf 'abc\n' > "$work/f.txt"
    [ $# -gt 0 ] || set -- "$work/f.txt"
    set +e
    "$batch" -w -x "$work/s.zm" "$@" > "$work/out" 2> "$work/err"
    got=$?
    set -e
    [ "$got" -eq "$code" ] || fail "$name: exit status $got, expected $code"
    printf -- "$text" > "$work/expected"
    if ! cmp -s "$work/f.txt" "$work/expected"; then
        fail "$name: f.txt differs"
        diff "$work/expected" "$work/f.txt" >&2 || true
    fi
}

run "a clean run is saved" 0 'Xabc\n' 'put_string("X");'
run "the return code of a clean run" 1 'Xabc\n' 'put_string("X"); return 0;'
run "a warning saves nothing" 1 'abc\n' 'put_string("X"); put_string(1, 2, 3);'
run "an unknown function warns" 1 'abc\n' 'put_string("X"); no_such_function();'
run "a fatal error saves nothing" 1 'abc\n' \
    'put_string("X"); int i = 0; while (i < 100) { put_string(1, 2, 3); i = i + 1; }'
run "a refused edit" 1 'abc\n' 'FileReadOnlySet(); put_string("X");'
# Reading /proc/self/mem fails at its first byte: an input that cannot be read.
run "an unreadable input" 1 'abc\n' 'put_string("X");' /proc/self/mem "$work/f.txt"
run "a missing input" 1 'abc\n' 'put_string("X");' "$work/none/f.txt" "$work/f.txt"

# A keyboard macro whose every edit is refused: the file with a NUL byte opens read-only.
macro=$(dirname "$0")/data/bullet.mac
printf 'a\0b\n' > "$work/nul.txt"
set +e
"$batch" -w -m "$macro" "$work/nul.txt" > /dev/null 2>&1
got=$?
set -e
[ "$got" -eq 1 ] || fail "macro with refused edits: exit status $got"

# The table is in the help text.
"$batch" --help > "$work/help"
for line in "script's return code" "warning" "could not be read" "saves nothing" "bad arguments"; do
    grep -q "$line" "$work/help" || fail "--help lacks '$line'"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all vexa-batch exit status checks passed"
