#!/usr/bin/env bash
# Runs the real updater programs as a user would, on a private Xvfb: the
# demo's window as it opens, its menu and about box, quitting by signal and
# during the transfer, a second instance, and the demo's usage. Whole updates
# by clicks are rows of fault_matrix_test.sh and cases of system_midi_gui_test.sh.
#
# Usage: updater_gui_test.sh <vt5150-updater-demo> <vt5150-updater> <folder for screenshots>
set -uo pipefail

demo="$1"
updater="$2"
shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"

no_menu () { ! wizard_window_shown menu; }

begin () { begin_program "$1" "$demo" "${@:2}"; }

# usage <status> <what it says> <demo options...>: the demo's answer, on stdout when it exits 0, else on stderr.
usage ()
{
    "$demo" "${@:3}" >"$WIZARD_TMP/usage.out" 2>"$WIZARD_TMP/usage.err"
    check "${*:3} exits $1" [ $? -eq "$1" ]
    check "${*:3} says \"$2\"" grep -q -- "$2" "$WIZARD_TMP/usage.$([ "$1" -eq 0 ] && echo out || echo err)"
}

start_test

# The window as it opens, its menu and the about box; a second instance is refused.
begin welcome --latency-us 0
demo_window_checks
wizard_shot "$shots/welcome.png"
wizard_click 200 100 1
sleep 0.5
check "a left-click opens no menu" no_menu
menu_and_about
first=$WIZARD_PID
for second in "$demo" "$updater"; do
    wizard_launch "$WIZARD_TMP/second.log" "$second"
    check "a second $(basename "$second") ends by itself with status 0" exited_with_0
    check "only one window" [ "$(xdotool search --onlyvisible --name "^$WIZARD_TITLE\$" | wc -l)" -eq 1 ]
    end_case
done
WIZARD_PID=$first
expect 2 "next"
check "the first instance runs on" still_running
wizard_open_menu && wizard_choose_menu_item exit
check "Exit... ends the program" exited_with_0
end_case

# A quit signal on the welcome page quits; during the transfer the close
# button and Exit... are ignored and a quit signal waits for the transfer's end.
begin quit-signal --latency-us 400
kill -INT "$WIZARD_PID"
check "SIGINT on the welcome page ends the program" exited_with_0
begin quit-during-transfer --latency-us 600
walk_to_page5
transfer_starts
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

# Usage of the demo. -----------------------------------------------------------
begin_case usage
usage 0 "--fault" --help
usage 64 "--inputs x" --inputs x
usage 64 "unknown argument --frobnicate" --frobnicate

finish_checks
