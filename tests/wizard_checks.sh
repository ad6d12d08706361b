# Checks shared by the tests that drive the real programs' windows (on Linux,
# and the Windows programs under Wine): each failed check is counted and leaves
# a screenshot. Set `shots` (the screenshot folder) before sourcing, and name
# the case being run in `current`.

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wizard-driver.sh"

mkdir -p "$shots"
failures=0
passed=0
current=""

# check <what> <command...>: runs the command and reports a failure with a screenshot.
check ()
{
    local what="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
        return 0
    fi
    failures=$((failures + 1))
    local shot="$shots/failure-$failures.png"
    wizard_grab "$shot" 2>/dev/null
    echo "FAILED [$current] $what (screen: $shot)" >&2
    return 1
}

# expect <seconds> <controls>: waits until the main window shows exactly these controls.
expect ()
{
    if wizard_wait_until "$1" wizard_shows "$2"; then
        passed=$((passed + 1))
        return 0
    fi
    check "expected \"$2\", saw \"$(wizard_controls)\"" false
}

error_box_shown () { wizard_window_shown "Error"; }
no_error_box ()    { ! wizard_window_shown "Error"; }
about_box_shown () { wizard_window_shown "$WIZARD_ABOUT_TITLE"; }
no_about_box ()    { ! about_box_shown; }
no_menu ()         { ! wizard_window_shown menu; }
still_running ()   { kill -0 "$WIZARD_PID" 2>/dev/null; }
exited_with_0 ()   { wizard_wait_exit "${1:-10}" && [ "$WIZARD_STATUS" -eq 0 ]; }

# Presses Next from the welcome page up to page 5 (the device found).
walk_to_page5 ()
{
    local page
    for page in 1 2 3 4 5; do
        wizard_click_next
        expect 10 "title next previous" || return 1
    done
}

# Ends the current program if a case left it running.
end_case ()
{
    if still_running; then
        kill "$WIZARD_PID"
        wait "$WIZARD_PID" 2>/dev/null
    fi
}

# Prints the count of checks passed and failed; true when none failed.
report_checks ()
{
    echo "$passed passed, $failures failed"
    [ "$failures" -eq 0 ]
}
