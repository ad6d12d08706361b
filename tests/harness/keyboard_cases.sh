# The wizard driven with the keyboard alone, as a user without a mouse would:
# a whole update to Finish, the window menu and the about box, the
# device-not-found box and the transfer-error box. The pointer stays parked off
# every window, so a key reaches a window only if the program gave that window
# the keyboard itself (see wizard_park_pointer). Sourced, after
# gui_test_support.sh, by the tests that run these cases on Linux and under
# Wine; each names the program's launcher (the Wine that runs it, or nothing)
# in KEYS_LAUNCHER, an array.

KEYS_LAUNCHER=()

# Set by a runner whose programs' windows cannot take the X keyboard focus by
# themselves when they open, to the reason: the check that they do is skipped
# with that reason, and the window is given the focus as a window manager would.
KEYS_NO_FOCUS_WHEN_OPENED=""

# keys_under_wine <launcher...>: the cases run their programs with the launcher,
# a private Wine (scripts/windows.sh).
#
# Without a window manager Wine gives an X window the focus only when Windows
# gives its window the focus (X11DRV_SetFocus), never when it maps it; JUCE
# activates a new window just before it shows it (TopLevelWindow's
# visibilityChanged), so the focus request meets a window not yet mapped, X
# refuses it (BadMatch), and Wine does not ask again. The cases then give the
# X focus to the window, as a window manager would: that changes nothing inside
# Wine (with Wine's default UseTakeFocus, an X FocusIn leaves Windows' own
# focus alone, X11DRV_FocusIn), so a key still reaches only the control to
# which the program itself gave the keyboard.
keys_under_wine ()
{
    KEYS_LAUNCHER=("$@")
    KEYS_NO_FOCUS_WHEN_OPENED="Wine 8.0 without a window manager asks X for the focus before it maps the window"
}

# keys_begin <name> <program> [options...]: starts the program, waits for its
# window, and checks that the window has the keyboard before any key is pressed.
keys_begin ()
{
    begin_program "$1" "${KEYS_LAUNCHER[@]}" "${@:2}" || return 1
    wizard_park_pointer
    window_has_keyboard_when_opened "$WIZARD_TITLE"
}

# key_to_page <page> <key...>: presses the keys; the page must change to that page.
key_to_page ()
{
    local page="$1"
    shift
    check "${*} leads to another page" wizard_page_changes_after 10 wizard_key "$@" || return 1
    check "the page is page $page" wizard_page_is "$page"
}

# keys_change_nothing <controls> <key...>: presses the keys; the page, its
# controls and the program stay as they were.
keys_change_nothing ()
{
    local controls="$1" before
    shift
    wizard_grab || return 1
    before=$(wizard_text_signature)
    wizard_key "$@"
    sleep 1
    check "${*}: the controls stay \"$controls\"" wizard_wait_until 2 wizard_shows "$controls"
    check "${*}: the page stays" [ "$(wizard_text_signature)" = "$before" ]
    check "${*}: the program runs on" still_running
}

# box_has_keyboard <title>: the box is shown and has the keyboard.
box_has_keyboard ()
{
    check "the box \"$1\" opens" wizard_wait_until 10 wizard_window_shown "$1" || return 1
    window_has_keyboard_when_opened "$1"
}

# window_has_keyboard_when_opened <title>: the window just opened has the
# keyboard, or, where KEYS_NO_FOCUS_WHEN_OPENED says why it cannot, is given it.
window_has_keyboard_when_opened ()
{
    if [ -z "$KEYS_NO_FOCUS_WHEN_OPENED" ]; then
        check "\"$1\" has the keyboard when it opens" wizard_wait_until 5 wizard_focus_in "$1"
        return
    fi
    echo "SKIPPED [$current] \"$1\" has the keyboard when it opens: $KEYS_NO_FOCUS_WHEN_OPENED"
    xdotool windowfocus "$(wizard_window_id "$1")"
    check "\"$1\" has the keyboard once given it" wizard_wait_until 5 wizard_focus_in "$1"
}

# box_closes_to_wizard <title> <key>: the key closes the box, and the wizard has the keyboard again.
box_closes_to_wizard ()
{
    wizard_key "$2"
    check "$2 closes the box \"$1\"" wizard_wait_until 5 wizard_window_gone_by_title "$1" || return 1
    check "the wizard has the keyboard again" wizard_wait_until 5 wizard_focus_in "$WIZARD_TITLE"
}

wizard_window_gone_by_title () { ! wizard_window_shown "$1"; }

# Return from the welcome page to page 4, where Return searches next.
return_to_page4 ()
{
    local page
    for page in 1 2 3 4; do
        key_to_page "$page" Return || return 1
    done
}

# keys_whole_update <demo>: the whole update, to Finish, with the ring shown
# only once Tab has put a button under the keyboard; keys during the transfer
# change nothing.
keys_whole_update ()
{
    keys_begin keys-whole-update "$1" --latency-us 100 || return 1
    check "no focus ring before a key is pressed" wizard_ring_on none
    wizard_shot "$shots/welcome-no-key.png"
    key_to_page 1 Return || return 1
    check "Return pressed Next without showing a ring" wizard_ring_on none
    wizard_key Tab
    check "Tab: the ring on Previous" wizard_wait_until 5 wizard_ring_on previous || return 1
    wizard_key Tab
    check "Tab again: the ring on Next" wizard_wait_until 5 wizard_ring_on next
    wizard_shot "$shots/ring-next.png"
    for page in 2 3 4; do
        key_to_page "$page" Return || return 1
    done
    check "the page took the keyboard: no ring" wizard_ring_on none
    keys_change_nothing "title next previous" Escape Right alt+n
    check "Return on page 4 finds the device" wizard_page_changes_after 20 wizard_key Return || return 1
    check "the page is page 5" wizard_page_is 5
    wizard_key Return
    expect 10 "title bar"
    keys_change_nothing "title bar" Tab Return space Escape shift+Tab
    expect 60 "title next" || return 1
    wizard_shot "$shots/finish-keys.png"
    wizard_key Return
    check "Return on Finish ends the program with status 0" exited_with_0
}

# keys_menu_and_about <demo>: the window menu and the about box.
keys_menu_and_about ()
{
    keys_begin keys-menu "$1" --latency-us 0 || return 1
    wizard_key shift+F10
    check "Shift+F10 opens the menu" wizard_wait_until 5 wizard_window_shown menu || return 1
    wizard_shot "$shots/menu-keys.png"
    wizard_key Down Return
    box_has_keyboard "$WIZARD_ABOUT_TITLE" || return 1
    box_closes_to_wizard "$WIZARD_ABOUT_TITLE" Escape || return 1
    wizard_key Menu
    check "the Menu key opens the menu" wizard_wait_until 5 wizard_window_shown menu || return 1
    wizard_key Down Return
    box_has_keyboard "$WIZARD_ABOUT_TITLE" || return 1
    box_closes_to_wizard "$WIZARD_ABOUT_TITLE" Return || return 1
    # A click, after keys, presses as always and shows no ring.
    check "a click on Next turns the page" wizard_next_page 10 || return 1
    wizard_park_pointer
    check "the click shows no ring" wizard_ring_on none
    wizard_key Menu Down Down Return
    check "Exit... from the Menu key ends the program" exited_with_0
}

# keys_not_found <demo>: the device not found, then found when the user tries again.
keys_not_found ()
{
    keys_begin keys-not-found "$1" --latency-us 100 --fault silent-first=1 || return 1
    return_to_page4 || return 1
    wizard_key Return
    box_has_keyboard Error || return 1
    wizard_shot "$shots/not-found-keys.png"
    box_closes_to_wizard Error space || return 1
    expect 5 "title next previous"
    check "still page 4" wizard_page_is 4
    check "Return searches again and finds the device" wizard_page_changes_after 20 wizard_key Return || return 1
    check "the page is page 5" wizard_page_is 5
}

# keys_transfer_failure <demo>: a failed transfer, the error box, then the welcome page.
keys_transfer_failure ()
{
    keys_begin keys-transfer-failure "$1" --latency-us 0 --fault silent-at-block=3 || return 1
    return_to_page4 || return 1
    key_to_page 5 Return || return 1
    wizard_key Return
    box_has_keyboard Error || return 1
    wizard_grab
    check "the update page behind the box" wizard_bar_shown
    box_closes_to_wizard Error Return || return 1
    expect 5 "next"
    check "the welcome page" wizard_page_is 0
    key_to_page 1 Return
}

# keys_no_device <program>: a program that finds no device (the real updater
# where no MIDI port answers) to the device-not-found box, which Return closes,
# and out through the Menu key's Exit...
keys_no_device ()
{
    keys_begin keys-no-device "$1" || return 1
    return_to_page4 || return 1
    wizard_key Return
    box_has_keyboard Error || return 1
    wizard_shot "$shots/no-device-keys.png"
    box_closes_to_wizard Error Return || return 1
    expect 5 "title next previous"
    check "still page 4" wizard_page_is 4
    wizard_key Menu
    check "the Menu key opens the menu" wizard_wait_until 5 wizard_window_shown menu || return 1
    wizard_key Down Down Return
    check "Exit... from the Menu key ends the program" exited_with_0
}

# keys_update_by_return <name> <seconds> <program> [options...]: a whole update
# with Return alone, as a user who knows the wizard would do it: through the
# pages, the search and the transfer (which may take the seconds given) to
# Finish, and Return there, which ends the program (the caller checks how).
keys_update_by_return ()
{
    local seconds="$2"
    keys_begin "$1" "${@:3}" || return 1
    return_to_page4 || return 1
    check "Return on page 4 finds the device" wizard_page_changes_after 20 wizard_key Return || return 1
    check "the page is page 5" wizard_page_is 5 || return 1
    check "no box" no_error_box
    wizard_key Return
    expect 10 "title bar" || return 1
    wizard_wait_until "$seconds" transfer_ended
    check "no transfer-error box" no_error_box
    expect 5 "title next" || return 1
    wizard_key Return
}

# keys_return_during_search <demo>: Returns pressed while page 4 searches
# (behind a silent pair of ports, about a second) wait for the window: one of
# them may start the transfer from page 5, but none turns a page past the
# transfer page while it runs, and the update ends on the last page with the
# device holding the image.
keys_return_during_search ()
{
    keys_begin keys-return-during-search "$1" --inputs 2 --device-at 1,0 --latency-us 300 || return 1
    return_to_page4 || return 1
    # Each Return a key press of its own, as a user's are.
    wizard_key Return
    sleep 0.2
    wizard_key Return
    sleep 0.2
    wizard_key Return
    check "the search ends on page 5 or the transfer page" wizard_wait_until 20 search_ended_on_page_5_or_6 || return 1
    if wizard_shows "title next previous"; then
        wizard_key Return
    fi
    for second in 1 2 3; do
        sleep 1
        check "the transfer page shows while the transfer runs, ${second} s on" wizard_shows "title bar" || return 1
    done
    wizard_wait_until 120 transfer_ended
    check "no transfer-error box" no_error_box
    expect 5 "title next" || return 1
    wizard_key Return
    check "Finish ends the program with status 0" exited_with_0
    check "the device holds the image" grep -q "the device holds the built-in firmware image" "$WIZARD_TMP/$current.log"
}

search_ended_on_page_5_or_6 ()
{
    no_error_box && { wizard_shows "title bar" || { wizard_shows "title next previous" && wizard_page_is 5; }; }
}

# keys_demo_cases <demo>: every case above, each in a program of its own.
keys_demo_cases ()
{
    local case
    for case in keys_whole_update keys_menu_and_about keys_not_found keys_transfer_failure keys_return_during_search; do
        "$case" "$1"
        end_case
    done
}
