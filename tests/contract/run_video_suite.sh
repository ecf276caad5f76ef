#!/usr/bin/env bash
# Runs the video player suites under Wine. An open that the engine never
# returns from (a race in Wine's GStreamer back end on files cut before their
# index) leaves GStreamer's threads running, and Wine then ends the process
# with a segmentation fault after the suite is done. That exit is accepted when
# the suite itself passed and the world reported the stuck open; any other
# failure or crash fails.
#   run_video_suite.sh <wine-run.sh> <contract_tests.exe> <gtest filter>
set -uo pipefail
runner=$1 program=$2 filter=$3
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$runner" "$program" --gtest_filter="$filter" 2>&1 | tee "$log"
code=${PIPESTATUS[0]}
if [ "$code" -eq 139 ] && grep -q '^video world: .* never returned' "$log" &&
    grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]' "$log"; then
    echo "run_video_suite: passed; Wine crashed at exit after an open that never returned (accepted)"
    exit 0
fi
exit "$code"
