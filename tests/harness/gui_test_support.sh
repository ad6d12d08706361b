# Checks shared by the tests that drive the real programs as a user would,
# over the window driver: sourced by a script that has set `shots`, the
# folder for screenshots of failures.

source "$(dirname "${BASH_SOURCE[0]}")/wizard-driver.sh"

failures=0
current=""

# check <what> <command...>: runs the command and reports a failure with a screenshot.
check ()
{
    "${@:2}" && return 0
    failures=$((failures + 1))
    wizard_grab "$shots/failure-$failures.png" 2>/dev/null
    echo "FAILED [$current] $1 (screen: $shots/failure-$failures.png)" >&2
    wizard_describe_screen >&2
    return 1
}

# expect <seconds> <controls>: waits until the main window shows exactly these controls.
expect ()
{
    wizard_wait_until "$1" wizard_shows "$2" || check "expected \"$2\", saw \"$(wizard_controls)\"" false
}

error_box_shown () { wizard_window_shown "Error"; }
no_error_box ()    { ! wizard_window_shown "Error"; }
about_box_shown () { wizard_window_shown "$WIZARD_ABOUT_TITLE"; }
no_about_box ()    { ! about_box_shown; }
still_running ()   { [ -n "${WIZARD_PID:-}" ] && kill -0 "$WIZARD_PID" 2>/dev/null; }
exited_with_0 ()   { wizard_wait_exit 15 && [ "$WIZARD_STATUS" -eq 0 ]; }

# True once the transfer has ended, on the last page or with the error box.
transfer_ended () { error_box_shown || wizard_shows "title next"; }

begin_case () { current="$1"; echo "--- $current (at ${SECONDS} s)"; }

# begin_program <name> <program> [arguments...]: ends the case before's
# program, then starts this one and waits for its window.
begin_program ()
{
    end_case
    begin_case "$1"
    refuse_stray_instance
    wizard_launch "$WIZARD_TMP/$current.log" "${@:2}"
    check "the window opens" wizard_find_window 20 && expect 5 "next"
}

# demo_window_checks: the demo's window as it opens (found by its exact title):
# its size (JUCE's own frame, on Linux as under Wine, adds a 1-pixel border and
# a 26-pixel title bar to the 549 x 370 content) and its notice on stdout.
demo_window_checks ()
{
    check "the size, ${WIZARD_WIDTH}x${WIZARD_HEIGHT}" [ "$WIZARD_WIDTH" -eq 551 ] && check "the height" [ "$WIZARD_HEIGHT" -eq 398 ]
    check "the stdout notice" grep -q "never touched" "$WIZARD_TMP/$current.log"
}

# menu_and_about: on the welcome page, a right click opens the window menu,
# About... the about box, and Escape closes that alone.
menu_and_about ()
{
    check "a right-click opens the menu" wizard_open_menu
    wizard_shot "$shots/menu.png"
    check "the menu closes when About... is chosen" wizard_choose_menu_item about
    check "About... opens the about box" wizard_wait_until 5 about_box_shown
    wizard_wait_steady 5
    wizard_shot "$shots/about.png"
    wizard_press_key_in "$WIZARD_ABOUT_TITLE" Escape
    check "Escape closes the about box" wizard_wait_until 5 no_about_box
    expect 5 "next"
    check "Escape leaves the main window open" still_running
}

# walk_to_page4 [command [press...]]: presses Next (or the press given) from
# the welcome page up to page 4, each press bringing the next page, and runs
# the command, if any, on each with its number.
walk_to_page4 ()
{
    local page hook="${1:-}" press=("${@:2}")
    [ ${#press[@]} -gt 0 ] || press=(wizard_click_next)
    for page in 1 2 3 4; do
        check "${press[*]} leads from page $((page - 1))" wizard_page_changes_after 10 "${press[@]}" || return 1
        expect 5 "title next previous" || return 1
        check "the page is page $page" wizard_page_is "$page" || return 1
        [ -z "$hook" ] || "$hook" "$page"
    done
}

walk_to_page5 ()
{
    walk_to_page4 && check "the search finds the device, with no box" search_finds_device
}

# search_finds_device [seconds]: Next on page 4 leads to page 5, with no box, within the seconds (20).
search_finds_device ()
{
    local page4
    wizard_grab || return 1
    page4=$(wizard_text_signature)
    wizard_click_next
    wizard_wait_until "${1:-20}" search_ended "$page4" && no_error_box && expect 5 "title next previous" && wizard_page_is 5
}

search_ended () { error_box_shown || wizard_text_differs "$1"; }

# device_not_found [seconds [command...]]: Next on page 4 brings the
# device-not-found box within the seconds (10); the command runs while it
# shows; OK closes it back to page 4.
device_not_found ()
{
    wizard_click_next
    check "the device-not-found box" wizard_wait_until "${1:-10}" error_box_shown || return 1
    "${@:2}"
    wizard_dismiss_error
    check "OK closes the box" wizard_wait_until 5 no_error_box && expect 5 "title next previous"
}

transfer_starts () { wizard_click_next; expect 10 "title bar"; }

finish_ends_program () { wizard_click_next; check "Finish ends the program with status 0" exited_with_0; }

# transfer_completes <seconds>: the transfer under way ends on the last page, with no box.
transfer_completes ()
{
    wizard_wait_until "$1" transfer_ended
    check "no transfer-error box" no_error_box && expect 5 "title next"
}

# transfer_fails_to_welcome [screenshot]: Next on page 5, then a failed
# transfer: the error box over the update page, then, after OK, the welcome page.
transfer_fails_to_welcome ()
{
    wizard_click_next
    check "the transfer-error box" wizard_wait_until 60 error_box_shown
    [ -z "${1:-}" ] || wizard_shot "$1"
    wizard_grab
    check "the update page, not the last page, behind the box" wizard_bar_shown
    wizard_dismiss_error
    check "OK closes the box" wizard_wait_until 5 no_error_box
    expect 5 "next"
}

# Exits the test when another process holds the single-instance lock: every
# program that it starts would end at once.
refuse_stray_instance ()
{
    local holders
    holders=$(wizard_lock_holders)
    [ -z "$holders" ] && return 0
    { echo "FAILED [$current] another updater holds the single-instance lock $WIZARD_INSTANCE_LOCK:"
      sed 's/^/    pid /' <<<"$holders"; echo "End it and run the test again."; } >&2
    exit 1
}

# Ends the current program if a case left it running, killing it 10 s after
# SIGTERM (which waits for a transfer), so that the next case finds the lock free.
end_case ()
{
    if still_running && ! vt5150_end_process "$WIZARD_PID" 10; then
        echo "[$current] the program did not end within 10 s of SIGTERM and was killed" >&2
    fi
    WIZARD_PID=
}

# start_test [command...]: makes the folder for screenshots, sets the EXIT trap
# (end_test with the command) and starts the test's private display.
start_test ()
{
    mkdir -p "$shots"
    END_TEST_COMMAND=("$@")
    trap 'end_test "${END_TEST_COMMAND[@]}"' EXIT
    vt5150_start_xvfb || exit 1
}

# end_test [command...]: a test's EXIT trap: ends its program, runs the command
# (whatever else the test must end), stops the display and removes its files.
end_test ()
{
    end_case
    "$@"
    vt5150_stop_xvfb
    rm -rf "$WIZARD_TMP"
}

finish_checks ()
{
    [ "$failures" -eq 0 ] || { echo "$failures checks failed" >&2; exit 1; }
    echo "All checks passed."
    exit 0
}
