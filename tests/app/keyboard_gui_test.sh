#!/usr/bin/env bash
# Drives the demo's window with the keyboard alone on a private Xvfb: the
# cases of tests/harness/keyboard_cases.sh.
#
# Usage: keyboard_gui_test.sh <vt5150-updater-demo> <folder for screenshots>
set -uo pipefail

demo="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/keyboard_cases.sh"

start_test
keys_demo_cases "$demo"
finish_checks
