# Sourced by wine_port_test.sh, wine_midi_gui_test.sh and the Windows
# transfer benchmark: runs Windows programs under Wine, on a private Xvfb and
# in a private Wine prefix, over Wine's own winmm and ALSA MIDI driver, with
# the ALSA sequencer stand-in preloaded and a simulated VT-5150, hosted by
# vt5150-seq-device, plugged in behind one of its ports (tests/harness's plug_in).
# The sourcing script sets `shots`, the folder for screenshots of failures.

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/device_host_support.sh"
source "$here/../../scripts/windows.sh"

shots="${shots:-$WIZARD_TMP}"
socket="$WIZARD_TMP/vt5150.socket"
plug_at=(--socket "$socket")

# start_wine_device <stand-in library> <vt5150-seq-device>: the display and the
# private Wine with the stand-in preloaded; exits the script if either fails.
start_wine_device ()
{
    devicehost="$2"
    vt5150_start_xvfb || exit 1
    vt5150_start_wine_midi "$(realpath "$1")" || { echo "FAIL: the private Wine does not start" >&2; exit 1; }
}

# Ends the case's program and everything else in the private Wine, then the device.
end_wine_device ()
{
    end_case
    vt5150_end_wine_programs
    unplug
}

# The program's own exit code, as its parent reported it (on a Windows console line).
exit_code_was_0 () { exited_with_0 && tr -d '\r' <"$WIZARD_TMP/$current.log" | grep -qx "exit code: 0"; }

# run_in_wine_device <ports before the device's, each followed by a comma>
# <trace file, or "" for none> <vt5150-exit-code.exe> <program> [arguments...]:
# prints what the program prints and returns its exit code, which its parent
# tells: Wine's own status may tell a crash in its teardown after the program ended.
run_in_wine_device ()
{
    local status
    vt5150_wine_midi "${1}device:VT-5150:socket=$socket" "$2" "${@:3}" | tee "$WIZARD_TMP/program.log"
    status="$(tr -d '\r' <"$WIZARD_TMP/program.log" | sed -n 's/^exit code: \([0-9]*\)$/\1/p')"
    [ -n "$status" ] || { echo "FAIL: the program's exit code is unknown" >&2; return 1; }
    return "$status"
}

# run_on_wine_device <stand-in library> <vt5150-seq-device> <ports before the
# device's> <trace file, or ""> <vt5150-exit-code.exe> <program> [arguments...]:
# one program over a device answering after 1 ms; exits with its exit code.
run_on_wine_device ()
{
    local status
    start_wine_device "$1" "$2"
    trap 'end_test end_wine_device' EXIT
    plug_in device --latency-us 1000
    run_in_wine_device "${@:3}"
    status=$?
    exit "$status"
}
