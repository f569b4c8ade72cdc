#!/bin/sh
# End-to-end tests of vexa-dict: building from word lists (a byte-order mark, a directory given
# instead of a list) and listing the words for a UTF-8 terminal.
# Usage: dict_examples.sh VEXA_DICT
set -eu
dict=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# A list opening with a byte-order mark keeps its first word; the list prints as UTF-8.
printf '\357\273\277caf\303\251\nzoo\n\303\251t\303\251\n' > "$work/words.txt"
"$dict" build "$work/words.txt" "$work/TEST.DIC" "Test" > /dev/null || fail "build from a list"
"$dict" list "$work/TEST.DIC" > "$work/listed" || fail "list"
printf 'caf\303\251\nzoo\n\303\251t\303\251\n' > "$work/expected"
cmp -s "$work/listed" "$work/expected" || { fail "list prints every word in UTF-8"; od -c "$work/listed" >&2; }
"$dict" check "$work/TEST.DIC" "caf\303\251" "Caf\303\251" "CAF\303\211" > "$work/unknown" || fail "check café"
[ ! -s "$work/unknown" ] || { fail "café in every case form is known"; cat "$work/unknown" >&2; }

# A directory for the word list: a message and exit status 1, never an abort.
status=0
"$dict" build "$work" "$work/DIR.DIC" "Dir" 2> "$work/error" || status=$?
[ "$status" -eq 1 ] || fail "build from a directory exits with 1 (got $status)"
grep -q "cannot read the word list" "$work/error" || fail "build from a directory says why"
[ ! -e "$work/DIR.DIC" ] || fail "build from a directory writes no dictionary"

if [ "$failures" -ne 0 ]; then
    echo "$failures vexa-dict example(s) failed" >&2
    exit 1
fi
echo "vexa-dict examples passed"
