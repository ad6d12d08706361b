#!/usr/bin/env bash
# Drives the Windows programs with the keyboard alone under Wine, on a private
# Xvfb and in a private Wine: the demo through the cases of
# tests/harness/keyboard_cases.sh, as on Linux, and the real updater, which
# finds no MIDI device under a bare Wine, to its device-not-found box. Wine
# cannot give a window the X focus as it opens (keys_under_wine says why).
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

keys_demo_cases "$demo"
keys_no_device "$updater"
end_case

finish_checks
