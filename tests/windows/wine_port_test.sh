#!/usr/bin/env bash
# Runs vt5150-windows-port-tests.exe under Wine (wine_device_support.sh): its
# cases against faked drivers, and over Wine's own MIDI with a simulated
# VT-5150 that answers each command after 1 ms. Prints the lost replies that
# the exchange cases count. Exits with the tests' status.
#
# Usage: wine_port_test.sh <vt5150-windows-port-tests.exe> <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> [GoogleTest options...]
set -uo pipefail

source "$(dirname "$0")/wine_device_support.sh"

# The device behind a through port and a silent one, as on a user's machine.
run_on_wine_device "$3" "$4" "through,silent:Quiet," "$WIZARD_TMP/sequencer.trace" "$2" "$1" "${@:5}"
