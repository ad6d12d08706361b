#!/usr/bin/env bash
# Drives the Windows programs with the keyboard alone under Wine, on a private
# Xvfb and in a private Wine, through cases of tests/harness/keyboard_cases.sh:
# the real updater, which finds no MIDI device under a bare Wine, to its
# device-not-found box, and the demo with Returns pressed during the search (a
# whole update by Return alone is a case of wine_midi_gui_test.sh). Wine cannot
# give a window the X focus as it opens (keys_under_wine says why).
#
# Usage: wine_keyboard_gui_test.sh <vt5150-updater-demo.exe> <vt5150-updater.exe> <folder for screenshots>
set -uo pipefail

demo="$1"
updater="$2"
shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/keyboard_cases.sh"
source "$here/../../scripts/windows.sh"

start_test vt5150_stop_wine
check "Wine starts" vt5150_start_wine || exit 1
keys_under_wine "$VT5150_WINE"

keys_no_device "$updater"
end_case
keys_return_during_search "$demo"
end_case

finish_checks
