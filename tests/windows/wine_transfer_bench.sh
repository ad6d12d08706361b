#!/usr/bin/env bash
# Runs vt5150-windows-transfer-bench.exe under Wine, on a private Xvfb and in a
# private Wine prefix, over Wine's own winmm and ALSA MIDI driver, with the
# ALSA sequencer stand-in preloaded and a simulated VT-5150 behind its only
# port pair, hosted by vt5150-seq-device and answering each command after
# 1 ms. Prints the benchmark's figures; exits with its status, which fails
# only when an exchange does, never because of a time.
#
# Usage: wine_transfer_bench.sh <vt5150-windows-transfer-bench.exe> <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> [benchmark options...]
set -uo pipefail

source "$(dirname "$0")/wine_device_support.sh"

# No sequencer trace: writing one would add to both sides' times.
run_on_wine_device "$3" "$4" "" "" "$2" "$1" "${@:5}"
