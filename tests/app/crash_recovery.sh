#!/bin/sh
# A real crash end to end: the editor runs on a file in a virtual display, text is typed, the
# process is killed (SIGKILL) 1.5 s after the editor has taken the keys in, and the next start
# asks about the unsaved changes: Enter (the "Recover" default) brings the text back, and saving
# writes it byte for byte.
# Every wait is for something to happen (a window, a file's content, the journal settling), polled
# with a bound; only the 1.5 s before the kill is a fixed pause.
# Usage: crash_recovery.sh VEXA [DISPLAY-NUMBER]. Exits 77 (skipped) without Xvfb and xdotool, or
# when the virtual display does not start.
set -eu
vexa=$1
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 || {
    echo "skipped: Xvfb and xdotool are needed"
    exit 77
}
number=${2:-$((200 + $$ % 500))}
# A display number nobody uses.
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
work=$(mktemp -d)
display=":$number"
editor=
server=
cleanup() {
    [ -n "$editor" ] && kill -9 "$editor" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
# The editor shows its windows on the virtual display whatever platform the caller chose.
export VEXA_HOME="$work/home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$display" QT_QPA_PLATFORM=xcb VEXA_PROFILE=classic

# Polls COMMAND every 0.1 s for up to LIMIT seconds; fails with WHAT when it never succeeds.
await() {
    limit=$1 what=$2
    shift 2
    tries=$((limit * 10))
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "$what (waited ${limit} s)"
        # An editor that died will not show what is waited for.
        [ -z "$editor" ] || kill -0 "$editor" 2>/dev/null || fail "the editor ended while waiting: $what"
        sleep 0.1
    done
}

# Without -noreset the server resets when its last client goes, and the start after the kill can
# meet a display that refuses connections for a moment.
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
server=$!
# A display that cannot be started is no fault of the editor's: the test is skipped.
tries=300
until xdotool getmouselocation >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] && kill -0 "$server" 2>/dev/null || {
        echo "skipped: the virtual display did not start"
        cat "$work/xvfb.log"
        exit 77
    }
    sleep 0.1
done

# The first window whose title matches PATTERN (a regular expression), waited for.
window_id=
find_window() {
    window_id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$window_id" ]
}
window() {
    await 60 "no window '$1'" find_window "$1"
    xdotool windowactivate --sync "$window_id" 2>/dev/null || xdotool windowfocus --sync "$window_id"
}
no_window() {
    ! find_window "$1"
}
contains() {
    grep -q "$2" "$1"
}
# The journal's size, unchanged since the last look (the editor has taken in the keys sent).
last_size=-1
journal_settled() {
    size=$(cat "$work"/home/vrecover/*.vj 2>/dev/null | wc -c)
    [ "$size" -gt 0 ] && [ "$size" -eq "$last_size" ] && return 0
    last_size=$size
    sleep 0.5
    return 1
}

# Starts the editor on a file and types the edits into it.
edit() {
    "$vexa" "$1" >"$work/$2.log" 2>&1 &
    editor=$!
    window "$(basename "$1" | sed 's/\./\\./g')"
    xdotool key --delay 40 Down End Return
    xdotool type --delay 30 'return 42; /* kept */'
}
stop() {
    kill "$1" "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
    editor=
}

printf 'int main()\n{\n}\n' > "$work/main.c"
# What the edits give when saved normally.
printf 'int main()\n{\n}\n' > "$work/plain.c"
edit "$work/plain.c" plain
xdotool key ctrl+s
await 60 "the edits were not saved" contains "$work/plain.c" 'kept \*/'
stop -TERM

edit "$work/main.c" first
await 60 "the journal did not settle" journal_settled
sleep 1.5
stop -KILL

"$vexa" "$work/main.c" >"$work/second.log" 2>&1 &
editor=$!
window Recovery
xdotool key Return
await 60 "the recovery question stayed" no_window Recovery
window 'main\.c'
xdotool key ctrl+s
await 60 "the recovered text was not saved" cmp -s "$work/plain.c" "$work/main.c"
stop -TERM
echo "crash recovery: the text came back byte for byte"
