#!/bin/sh
# vexa-batch runs a script's compiles, makes and captured programs to their end and prints what
# their output windows receive, from a fresh home and with the companion programs found beside
# vexa-batch (not along PATH). A compile or make with errors makes the run fail.
# Usage: batch_builds.sh VEXA_BATCH
set -eu
batch=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEXA_HOME="$work/home"
unset CC CXX XDG_RUNTIME_DIR
# Only the system's programs: nothing of the build tree is on the path.
PATH=/usr/local/bin:/usr/bin:/bin
export PATH
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# check NAME EXPECTED-CODE EXPECTED-LINE SCRIPT-BODY FILE: runs the script on the file and checks
# the exit status and that standard output holds the line (a fixed string).
check() {
    name=$1 code=$2 line=$3 body=$4 file=$5
    printf 'int main() {\n%s\n}\n' "$body" > "$work/s.zm"
    set +e
    "$batch" -x "$work/s.zm" "$file" > "$work/out" 2> "$work/err"
    got=$?
    set -e
    [ "$got" -eq "$code" ] || fail "$name: exit status $got, expected $code"
    if ! grep -qF -- "$line" "$work/out"; then
        fail "$name: standard output lacks '$line'"
        cat "$work/out" "$work/err" >&2
    fi
}

mkdir -p "$work/src/deep/er"
printf 'int f(void) {\n    return z;\n}\n' > "$work/src/bad.c"
printf 'int f(void) {\n    int unused;\n    return 0;\n}\n' > "$work/src/warn.c"
printf 'int g() {\n    int unused;\n    return 0;\n}\n' > "$work/src/warn.cpp"

check "a compile with an error" 1 "$work/src/bad.c:2:12: error:" 'CompilerCompile();' "$work/src/bad.c"
check "a compile with a warning only" 0 "$work/src/warn.c:2:9: warning: unused variable" \
    'CompilerCompile();' "$work/src/warn.c"
check "a C++ compile" 0 "$work/src/warn.cpp:2:9: warning: unused variable" \
    'CompilerCompile();' "$work/src/warn.cpp"
check "the outcome follows the output" 0 "Compilation completed with warnings." \
    'CompilerCompile();' "$work/src/warn.c"
check "a captured program" 0 "said by a tool" 'spawn("echo", "said by a tool", 2);' "$work/src/warn.c"
# A program that reads standard input ends at once: it reads nothing.
check "a program reading its input" 0 "no input" \
    'spawn("sh", "-c '"'read x || echo no input'"'", 2);' "$work/src/warn.c"
printf 'all:\n\tcc -c deep/er/bad.c -o bad.o\n' > "$work/src/Makefile"
cp "$work/src/bad.c" "$work/src/deep/er/bad.c"
check "a make by the makefile above" 1 "deep/er/bad.c:2:12: error:" 'ProjectMake();' "$work/src/deep/er/bad.c"

# The compiles and the make left no batch or error file in the user's folders, nor their run
# folders in the home once the run ended.
left=$(cd "$work/src" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./Makefile ./bad.c ./deep/er/bad.c ./warn.c ./warn.cpp " ] || fail "files left in the source folder: $left"
if [ -d "$VEXA_HOME/runs" ] && [ -n "$(ls -A "$VEXA_HOME/runs")" ]; then
    fail "run folders left in the home: $(ls -A "$VEXA_HOME/runs")"
fi

[ "$failures" -eq 0 ] || exit 1
echo "vexa-batch runs compiles, makes and tools to their end"
