#!/bin/sh
# A real crash end to end: the editor runs on a file in a virtual display, text is typed, the
# process is killed (SIGKILL) 1.5 s later, and the next start asks about the unsaved changes:
# Enter (the "Recover" default) brings the text back, and saving writes it byte for byte.
# Usage: crash_recovery.sh VEXA [DISPLAY-NUMBER]. Exits 77 (skipped) without Xvfb and xdotool.
set -eu
vexa=$1
number=${2:-$((200 + $$ % 500))}
# A display number nobody uses.
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
work=$(mktemp -d)
display=":$number"
cleanup() {
    [ -n "${editor:-}" ] && kill -9 "$editor" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
# The editor shows its windows on the virtual display whatever platform the caller chose.
export VEXA_HOME="$work/home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$display" QT_QPA_PLATFORM=xcb VEXA_PROFILE=classic
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 1 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.2
done
printf 'int main()\n{\n}\n' > "$work/main.c"

# The window with a title holding TEXT, waited for up to 30 s.
window() {
    for _ in $(seq 1 150); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "FAIL: no window '$1'" >&2
    return 1
}

# Starts the editor on a file and types the edits into it.
edit() {
    "$vexa" "$1" >"$work/$2.log" 2>&1 &
    editor=$!
    main=$(window "$(basename "$1")")
    focus "$main"
    xdotool key --delay 40 Down End Return
    xdotool type --delay 30 'return 42; /* kept */'
}
focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
}

# What the edits give when saved normally.
printf 'int main()\n{\n}\n' > "$work/plain.c"
edit "$work/plain.c" plain
xdotool key ctrl+s
sleep 1
kill "$editor"
wait "$editor" 2>/dev/null || true
editor=

edit "$work/main.c" first
sleep 1.5
kill -9 "$editor"
wait "$editor" 2>/dev/null || true
editor=

"$vexa" "$work/main.c" >"$work/second.log" 2>&1 &
editor=$!
question=$(window Recovery)
focus "$question"
xdotool key Return
sleep 1
focus "$(window main.c)"
xdotool key ctrl+s
sleep 1
kill "$editor" 2>/dev/null || true
if ! grep -q 'return 42; /\* kept \*/' "$work/plain.c" || ! cmp "$work/plain.c" "$work/main.c"; then
    echo "FAIL: the recovered and saved file differs" >&2
    od -c < "$work/main.c" >&2
    exit 1
fi
echo "crash recovery: the text came back byte for byte"
