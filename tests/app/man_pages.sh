#!/bin/sh
# The manual pages render without a single warning, and each names the options its program's
# --help lists. Usage: man_pages.sh SOURCE_DIR BIN_DIR
set -eu
source_dir=$1
bin_dir=$2
failures=0
for page in vexa vexa-batch vexa-dict; do
    file="$source_dir/docs/man/$page.1"
    warnings=$(groff -man -ww -z "$file" 2>&1) || { echo "FAIL: groff on $page.1" >&2; failures=$((failures + 1)); }
    if [ -n "$warnings" ]; then
        echo "FAIL: $page.1 renders with warnings:" >&2
        echo "$warnings" >&2
        failures=$((failures + 1))
    fi
    for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" EXAMPLES "SEE ALSO"; do
        grep -q "^\.SH \"*$section" "$file" || { echo "FAIL: $page.1 lacks $section" >&2; failures=$((failures + 1)); }
    done
    # Every option the program's usage text shows is described in its page.
    if [ -x "$bin_dir/$page" ]; then
        for option in $("$bin_dir/$page" --help | grep -oE -- '(^| )--?[a-z]+' | tr -d ' ' | sort -u); do
            escaped=$(printf '%s' "$option" | sed 's/-/\\\\-/g')
            grep -q -- "$escaped" "$file" || { echo "FAIL: $page.1 does not describe $option" >&2; failures=$((failures + 1)); }
        done
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "all manual pages render cleanly"
