#!/usr/bin/env bash
# What a transfer costs on Windows, beside a bare winmm client measured in the
# same run: under Wine, on a private Xvfb and in a private Wine prefix, over
# Wine's own winmm and ALSA MIDI driver, with the ALSA sequencer stand-in
# preloaded and a simulated VT-5150 behind its only port pair, hosted by
# vt5150-seq-device and answering each command after 1 ms.
#
# First vt5150-windows-transfer-bench.exe compares the updater's own ports and
# device link with the bare client, in one process. Then the real
# vt5150-updater.exe, driven by keys through a whole update, takes turns with
# the bare client sending the same transfer; the device times both alike,
# from the start command to the last command, so the figures hold the whole
# program: its window, its message thread, its threads' hand-overs. Prints
# the figures; exits with a failure only when an exchange or a transfer does,
# never because of a time.
#
# Usage: wine_transfer_bench.sh <vt5150-windows-transfer-bench.exe> <vt5150-updater.exe>
#        <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> [runs]
set -uo pipefail

bench="$1"
updater="$2"
exitcode="$3"
runs="${6:-3}"
here="$(cd "$(dirname "$0")" && pwd)"
shots="$(mktemp -d)"
source "$here/../../tests/windows/wine_device_support.sh"
source "$here/../../tests/harness/keyboard_cases.sh"

start_wine_device "$4" "$5"
trap 'end_test end_wine_device; rm -rf "$shots"' EXIT

echo "The updater's ports and device link beside the bare client, in one process:"
plug_in link --latency-us 1000
run_in_wine_device "" "" "$exitcode" "$bench" || check "every exchange of the in-process benchmark succeeds" false
unplug

# timed <name> <array>: once the device has written its report, appends to the
# array the device's mean time between the commands of its transfer; fails
# when the transfer was not whole or not timed.
timed ()
{
    local apart
    local -n times="$2"
    device_report "$1" "image: match" &&
        apart="$(sed -n 's/^transfer: [0-9]* commands, \([0-9.]*\) ms apart$/\1/p' "$WIZARD_TMP/$1.report")" &&
        [ -n "$apart" ] && times+=("$apart")
}

# bare_transfer <name>: the bare client sends one whole transfer.
bare_transfer ()
{
    plug_in "$1" --latency-us 1000
    run_in_wine_device "" "" "$exitcode" "$bench" --bare >/dev/null || check "the bare client's exchanges succeed" false
}

# updater_transfer <name>: the real updater, driven by Return alone, through
# one whole update; while it transfers, the window is looked at every 2 s
# only, so that the driver takes little of the machine.
updater_transfer ()
{
    plug_in "$1" --latency-us 1000
    keys_begin "$1" "$updater" || return 1
    return_to_page4 || return 1
    check "Return on page 4 finds the device" wizard_page_changes_after 20 wizard_key Return || return 1
    wizard_key Return
    for _ in $(seq 300); do
        sleep 2
        transfer_ended && break
    done
    check "the update ends on the last page" wizard_shows "title next" || return 1
    wizard_key Return
    check "Return on Finish ends the updater with exit code 0" exit_code_was_0
}

keys_under_wine vt5150_wine_midi "device:VT-5150:socket=$socket" "" "$exitcode"
bareTimes=() updaterTimes=()
for run in $(seq "$runs"); do
    bare_transfer "bare-$run"
    check "the bare client's transfer is whole and timed" timed "bare-$run" bareTimes
    updater_transfer "updater-$run"
    check "the updater's transfer is whole and timed" timed "updater-$run" updaterTimes
    end_wine_device
done

median () { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
if [ "${#bareTimes[@]}" -eq "$runs" ] && [ "${#updaterTimes[@]}" -eq "$runs" ]; then
    echo "A whole transfer as the device times it, median of $runs runs, ms between commands:"
    echo "  bare winmm client     $(median "${bareTimes[@]}")   (runs: ${bareTimes[*]})"
    echo "  vt5150-updater.exe    $(median "${updaterTimes[@]}")   (runs: ${updaterTimes[*]})"
    echo "  updater / bare        $(echo "scale=3; $(median "${updaterTimes[@]}") / $(median "${bareTimes[@]}")" | bc)"
fi
finish_checks
