#!/usr/bin/env bash
# Runs the real updater programs as a user would, on a private Xvfb: finds the
# window by its title, clicks its buttons, menu and boxes at their places with
# xdotool, and reads what it shows from screenshots.
#
# Usage: updater_gui_test.sh <vt5150-updater-demo> <vt5150-updater> <folder for screenshots>
set -uo pipefail

demo="$1"
updater="$2"
shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"

mkdir -p "$shots"

trap end_test EXIT

no_menu () { ! wizard_window_shown menu; }

# begin <name> [demo options...]: starts the demo and waits for its window.
begin () { begin_program "$1" "$demo" "${@:2}"; }

vt5150_start_xvfb || exit 1

# The whole update, to Finish. -------------------------------------------------
begin whole-update --latency-us 100
demo_window_checks
check "centred across" [ $((2 * WIZARD_X + WIZARD_WIDTH - 1280)) -le 1 ]
check "centred down" [ $((2 * WIZARD_Y + WIZARD_HEIGHT - 1024)) -le 1 ]
wizard_shot "$shots/welcome.png"
wizard_next_button_shot "$shots/next-welcome.png"
walk_to_page5
wizard_next_button_shot "$shots/next-page5.png"
wizard_click_previous
expect 5 "title next previous"
wizard_click_next
expect 5 "title next previous"
wizard_click_next
expect 10 "title bar"
expect 60 "title next"
wizard_shot "$shots/finish.png"
wizard_next_button_shot "$shots/next-finish.png"
# The same button reading the same text looks the same on two pages; on the
# last page its text is another.
check "Next looks alike on the welcome page and page 5" \
    [ "$(compare -metric AE "$shots/next-welcome.png" "$shots/next-page5.png" null: 2>&1)" = 0 ]
check "Next reads Finish" \
    [ "$(compare -metric AE "$shots/next-welcome.png" "$shots/next-finish.png" null: 2>&1)" != 0 ]
wizard_click_next
check "Finish ends the program with status 0" exited_with_0
end_case

# The window menu and the about box. -----------------------------------------
begin menu --latency-us 0
wizard_click 200 100 1
sleep 0.5
check "a left-click opens no menu" no_menu
menu_and_about
wizard_open_menu && wizard_choose_menu_item exit
check "Exit... ends the program" exited_with_0
end_case

# The device not found, and a failed transfer, are rows of fault_matrix_test.sh;
# the device found when the user tries again is a case of system_midi_gui_test.sh.

# A quit signal on the welcome page quits; during the transfer the close
# button and Exit... are ignored and a quit signal waits for the transfer's end.
begin quit-signal --latency-us 400
kill -INT "$WIZARD_PID"
check "SIGINT on the welcome page ends the program" exited_with_0
begin quit-during-transfer --latency-us 600
walk_to_page5
wizard_click_next
expect 10 "title bar"
wizard_click_close
sleep 1
check "the close button is ignored during the transfer" still_running
wizard_open_menu && wizard_choose_menu_item exit
sleep 1
check "Exit... is ignored during the transfer" still_running
kill -TERM "$WIZARD_PID"
sleep 1
check "SIGTERM does not cut the transfer off" still_running
expect 2 "title bar"
check "the program ends by itself once the transfer has ended" wizard_wait_until 60 wizard_program_ended
check "with status 0" exited_with_0
end_case

# A second instance is refused. ----------------------------------------------
begin single-instance --latency-us 0
first=$WIZARD_PID
for second in "$demo" "$updater"; do
    "$second" >"$WIZARD_TMP/second.log" 2>&1 &
    secondPid=$!
    WIZARD_PID=$secondPid
    check "a second $(basename "$second") ends by itself with status 0" exited_with_0
    check "only one window" [ "$(xdotool search --onlyvisible --name "^$WIZARD_TITLE\$" | wc -l)" -eq 1 ]
    end_case
done
WIZARD_PID=$first
expect 2 "next"
check "the first instance runs on" still_running
end_case

# Usage of the demo. -----------------------------------------------------------
current=usage
echo "--- $current"
"$demo" --help >"$WIZARD_TMP/help.txt" 2>&1
check "--help exits 0" [ $? -eq 0 ]
check "--help lists the device options" grep -q -- "--fault" "$WIZARD_TMP/help.txt"
"$demo" --inputs x >/dev/null 2>"$WIZARD_TMP/bad.txt"
check "bad usage exits 64" [ $? -eq 64 ]
check "bad usage explains itself" grep -q -- "--inputs x" "$WIZARD_TMP/bad.txt"
"$demo" --frobnicate >/dev/null 2>&1
check "an unknown argument exits 64" [ $? -eq 64 ]

finish_checks
