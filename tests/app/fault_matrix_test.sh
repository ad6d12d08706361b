#!/usr/bin/env bash
# Runs the demo against every fault of the simulated device, and combinations
# that matter, through the real window as a user would, and checks for each
# what the user sees and how the program ends. One walk per row of the table.
#
# Usage: fault_matrix_test.sh <vt5150-updater-demo> <folder for screenshots>
set -uo pipefail

demo="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"

# What the user must see once Next is pressed on page 4:
#   not-found       the "Error" box over page 4, which stays after OK
#   complete        the update page, then the last page; Finish ends the program
#   transfer-error  the update page, then the "Error" box over it (never the
#                   last page), then the welcome page after OK
# Every row then ends the program as a user would, which must exit with 0.
#
# name | demo options | outcome
rows=(
    "no device|--no-device --inputs 2 --outputs 2|not-found"
    "refused start|--fault refuse-start|transfer-error"
    "silent from block 3|--fault silent-at-block=3|transfer-error"
    "silent after 1000 commands|--fault silent-after=1000|transfer-error"
    "silent to the first probe|--fault silent-first=1|not-found"
    "block addresses ignored, silent from block 2|--fault ignore-block-address --fault silent-at-block=2|transfer-error"
    "wrong acknowledgement|--fault wrong-ack|not-found"
    "short acknowledgement|--fault short-ack|not-found"
    "silent to the query|--fault no-query-reply|complete"
    "active sensing after each reply|--fault noise-after-reply|complete"
    "stray notes on the other input|--inputs 2 --device-at 1,0 --fault stray-message|complete"
    "every reply 1.3 s late|--latency-us 300000 --fault late-reply|not-found"
    "found on the third pair, then silent|--outputs 3 --device-at 0,2 --fault silent-at-block=1|transfer-error"
    "a late reply during the search taken for the next pair's|--outputs 2 --latency-us 300000 --fault late-reply|transfer-error"
    "noise and stray notes at a device's pace|--inputs 2 --device-at 1,0 --latency-us 100 --fault noise-after-reply --fault stray-message|complete"
)

outcome_not_found () { device_not_found 20 page4_behind_box; wizard_click_close; }

# The box hides the step title; Next and Previous of page 4 show beside it.
page4_behind_box () { wizard_grab; check "page 4 stays behind the box" [ "$(wizard_controls)" = "next previous" ]; }

# At the simulated device's pace the update page may pass too fast to see.
outcome_complete () { wizard_click_next; transfer_completes 90; wizard_click_next; }

outcome_transfer_error () { transfer_fails_to_welcome; wizard_click_close; }

run_row ()
{
    local name="$1" options="$2" outcome="$3"

    # The options are words of the table's own, never from outside.
    # shellcheck disable=SC2086
    begin_program "$name: $outcome" "$demo" --latency-us 0 $options || return
    # Found: page 5 and no box, however long the search's silent pairs take.
    if [ "$outcome" = not-found ]; then walk_to_page4; else walk_to_page5; fi || return
    "outcome_${outcome//-/_}"
    check "the program ends with status 0" exited_with_0
}

start_test

for row in "${rows[@]}"; do
    IFS='|' read -r name options outcome <<<"$row"
    run_row "$name" "$options" "$outcome"
    end_case
done

finish_checks
