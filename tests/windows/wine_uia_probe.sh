#!/usr/bin/env bash
# Shows what Wine's UI Automation can read of the Windows programs, as a
# screen reader would: runs vt5150-uia-probe.exe (tools/uia/UiaProbe.cpp)
# against the demo's and the real updater's window, on a private Xvfb and in a
# private Wine, and prints what it read, whether it could press Next through
# the Invoke pattern, and whether the window still answers a click afterwards.
#
# Evidence, not a test: what Wine 8.0 cannot do is printed, and the script
# fails only when a program cannot be run at all. Under Wine 8.0 the probe
# finds no COM client (CUIAutomation is not registered), reads the window's
# own element through uiautomationcore's core API, and then gets stuck on the
# first step into the window's children (UiaNavigate), where the program's
# message thread waits for Wine's provider thread and that thread for a COM
# call into the message thread; UiaGetPatternProvider and InvokePattern_Invoke
# are stubs. Run it by hand after scripts/build-windows:
#
#     tests/windows/wine_uia_probe.sh build/windows/bin/vt5150-uia-probe.exe \
#         build/windows/bin/vt5150-updater-demo.exe build/windows/bin/vt5150-updater.exe
#
# Usage: wine_uia_probe.sh <vt5150-uia-probe.exe> <vt5150-updater-demo.exe> <vt5150-updater.exe>
set -uo pipefail

probe="$1"
demo="$2"
updater="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/windows.sh"
# The names of the build that made the programs.
VT5150_FACTS="${VT5150_FACTS:-$VT5150_WINDOWS_BUILD/generated/product-facts.sh}"
source "$here/../harness/wizard-driver.sh" || exit 1

# Longer than the probe's own waits (the window, and 5 s for each call that gets stuck).
PROBE_SECONDS=60
WIZARD_PID=

end_program ()
{
    [ -z "$WIZARD_PID" ] || vt5150_end_process "$WIZARD_PID" 5 || true
    WIZARD_PID=
}

trap 'end_program; vt5150_stop_wine; vt5150_stop_xvfb; rm -rf "$WIZARD_TMP"' EXIT

# probe_program <name> <program> [options...]: starts the program, probes its
# window and tells what the probe could do.
probe_program ()
{
    local name="$1" status
    shift
    echo "--- $name"
    wizard_launch "$WIZARD_TMP/$name.log" "$VT5150_WINE" "$@"

    if ! wizard_find_window 20; then
        echo "FAILED: the window of $name did not open" >&2
        return 1
    fi

    # A click first, to know that the window answers one before the probe runs (and to probe a page with more controls).
    if ! wizard_next_page 10; then
        echo "FAILED: the window of $name did not answer a click on Next before the probe" >&2
        return 1
    fi

    timeout "$PROBE_SECONDS" "$VT5150_WINE" "$probe" "$WIZARD_TITLE" Next 2>&1 | sed 's/^/    /'
    status=${PIPESTATUS[0]}

    case "$status" in
        0) echo "Next was pressed through UI Automation and the tree changed." ;;
        1) echo "UI Automation read no element of the window." ;;
        2) echo "UI Automation could not press Next." ;;
        3) echo "Next was pressed through UI Automation, but the tree stayed the same." ;;
        *) echo "The probe did not end by itself within $PROBE_SECONDS s (status $status)." ;;
    esac

    if wizard_next_page 5; then
        echo "Afterwards the window still answers a click on Next."
    else
        echo "Afterwards the window no longer answers a click on Next: UI Automation left it stuck."
    fi

    end_program
}

vt5150_start_xvfb || exit 1
vt5150_start_wine || exit 1
echo "$("$VT5150_WINE" --version): UI Automation of the window \"$WIZARD_TITLE\""

failed=0
probe_program demo "$demo" --latency-us 0 || failed=1
probe_program updater "$updater" || failed=1
exit "$failed"
