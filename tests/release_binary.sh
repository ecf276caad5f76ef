#!/usr/bin/env bash
# The release program as it ships: at most 400 KB, no debug sections, and a debug
# link to the debug file beside it, which holds the symbols of the program's own
# code (a crash address in the Application Error box can be read against it).
set -euo pipefail
scr=$1 objdump=$2
fail() { echo "release_binary: $*" >&2; exit 1; }

size=$(stat -c %s "$scr")
[ "$size" -le 409600 ] || fail "$scr is $size bytes, over 400 KB"
sections=$("$objdump" -h "$scr")
! grep -q '\.debug_' <<<"$sections" || fail "$scr still has debug sections"
grep -q '\.gnu_debuglink' <<<"$sections" || fail "$scr has no debug link"
[ -f "$scr.debug" ] || fail "no $scr.debug"
grep -q 'RunProgram' <<<"$("$objdump" --syms "$scr.debug")" || fail "$scr.debug lacks the program's symbols"
echo "release_binary: $(basename "$scr") $size bytes, debug file $(stat -c %s "$scr.debug") bytes"
