#!/bin/sh
# vexa-batch --find gives the same matching lines as grep -rn over a tree without ignore files: the
# project's own sources and a small tree of UTF-8 and plain text. Usage: find_matches_grep.sh VEXA_BATCH SOURCE_DIR
set -eu
batch=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

mkdir -p "$work/tree/a/b" "$work/tree/c"
printf 'static inline int f(void);\nuint32_t x;\nstatic inline make_it(1);\n' > "$work/tree/a/one.h"
printf 'caf\303\251 uint32_t\nno match here\n  static inline void g_h(int);\n' > "$work/tree/a/b/two.txt"
printf 'uint32_t\nuint32_t uint32_t\n\nlast line uint32_t' > "$work/tree/c/three.c"
printf 'nothing\nFind 4 things\nf(const Name& name, int)\n' > "$work/tree/c/four.c"
# Links are not followed, by grep -r nor by the search: a loop, and a second name for a file.
ln -s .. "$work/tree/c/up"
ln -s ../a/one.h "$work/tree/c/again.h"

# grep's "PATH:LINE:TEXT" becomes "PATH:LINE: TEXT", relative to the searched folder.
normalise() {
    sed -e 's#^\./##' -e 's#^\([^:]*:[0-9]*\):#\1: #' | sort
}

compare() {
    folder=$1
    shift
    mode=$1
    pattern=$2
    if [ "$mode" = --regex ]; then
        (cd "$folder" && "$batch" --find "$pattern" --regex --case . 2>/dev/null || true) | sort > "$work/vexa.txt"
        (cd "$folder" && grep -rnE "$pattern" . || true) | normalise > "$work/grep.txt"
    else
        (cd "$folder" && "$batch" --find "$pattern" --case . 2>/dev/null || true) | sort > "$work/vexa.txt"
        (cd "$folder" && grep -rnF "$pattern" . || true) | normalise > "$work/grep.txt"
    fi
    if ! cmp -s "$work/vexa.txt" "$work/grep.txt"; then
        echo "differs from grep for '$pattern' in $folder:"
        diff "$work/grep.txt" "$work/vexa.txt" | head -20
        exit 1
    fi
    lines=$(wc -l < "$work/vexa.txt")
    echo "same $lines lines as grep for '$pattern' in $folder"
}

for folder in "$work/tree" "$source/src"; do
    compare "$folder" --literal uint32_t
    compare "$folder" --regex 'static inline [a-z_]+\('
    compare "$folder" --literal '#include'
    compare "$folder" --regex '^[A-Z][a-z]+ [0-9]'
    compare "$folder" --regex 'const [A-Za-z]+& [a-z]+[,)]'
done

# Exit statuses: 0 with matches, 1 with none, 2 for bad arguments or a folder that cannot be read.
status() {
    set +e
    "$@" > /dev/null 2>&1
    code=$?
    set -e
    echo "$code"
}
[ "$(status "$batch" --find uint32_t "$work/tree")" = 0 ]
[ "$(status "$batch" --find no-such-text-anywhere "$work/tree")" = 1 ]
[ "$(status "$batch" --find uint32_t "$work/missing")" = 2 ]
[ "$(status "$batch" --find uint32_t --bogus "$work/tree")" = 2 ]
[ "$(status "$batch" --find '(' --regex "$work/tree")" = 2 ]
[ "$(status "$batch" --find)" = 2 ]
# Standard output holds only result lines; the header and the summary go to standard error.
out=$("$batch" --find nothing "$work/tree" 2>/dev/null)
[ "$out" = "c/four.c:1: nothing" ]
err=$("$batch" --find nothing "$work/tree" 2>&1 >/dev/null)
case "$err" in
*"Searching for 'nothing'"*"1 matching lines"*) ;;
*) echo "unexpected standard error: $err"; exit 1 ;;
esac
echo "exit statuses and streams as documented"
