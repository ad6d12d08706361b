# The wizard driven with the keyboard alone: a whole update, the Menu key, the
# about box and the device-not-found box, and Returns pressed during the
# search. With the pointer parked off every window, a key reaches a window only
# if the program gave it the keyboard itself. Sourced after gui_test_support.sh
# by the tests that run these cases on Linux and under Wine.

# The command that runs the programs (keys_under_wine), and why a window
# cannot take the X focus as it opens, when it cannot: the check that it does
# is then skipped, and the window given the focus as a window manager would.
KEYS_LAUNCHER=()
KEYS_NO_FOCUS_WHEN_OPENED=""

# keys_under_wine <launcher...>: the programs run in a private Wine. Without a
# window manager, Wine asks X for the focus only when Windows gives the window
# the focus (X11DRV_SetFocus), and JUCE does that just before it maps the
# window, so X refuses (BadMatch) and Wine does not ask again. An X focus given
# from outside leaves Windows' own focus alone (X11DRV_FocusIn with
# UseTakeFocus), so a key still reaches only the control the program chose.
keys_under_wine ()
{
    KEYS_LAUNCHER=("$@")
    KEYS_NO_FOCUS_WHEN_OPENED="Wine 8.0 without a window manager asks X for the focus before it maps the window"
}

# keys_begin <name> <program> [options...]: the window has the keyboard before any key is pressed.
keys_begin ()
{
    begin_program "$1" "${KEYS_LAUNCHER[@]}" "${@:2}" || return 1
    wizard_park_pointer
    window_has_keyboard_when_opened "$WIZARD_TITLE"
}

box_has_keyboard ()
{
    check "the box \"$1\" opens" wizard_wait_until 10 wizard_window_shown "$1" || return 1
    window_has_keyboard_when_opened "$1"
}

window_has_keyboard_when_opened ()
{
    local when="when it opens"
    if [ -n "$KEYS_NO_FOCUS_WHEN_OPENED" ]; then
        echo "SKIPPED [$current] \"$1\" has the keyboard $when: $KEYS_NO_FOCUS_WHEN_OPENED"
        xdotool windowfocus "$(wizard_window_id "$1")"
        when="once given it"
    fi
    check "\"$1\" has the keyboard $when" wizard_wait_until 5 wizard_focus_in "$1"
}

# box_closes_to_wizard <title> <key>: the key closes the box, and the wizard has the keyboard again.
box_closes_to_wizard ()
{
    wizard_key "$2"
    check "$2 closes the box \"$1\"" wizard_wait_until 5 wizard_window_gone "$1" || return 1
    check "the wizard has the keyboard again" wizard_wait_until 5 wizard_focus_in "$WIZARD_TITLE"
}

return_to_page4 () { walk_to_page4 "" wizard_key Return; }

# keys_no_device <program> [options...]: the Menu key's about box, then a
# program that finds no device to the device-not-found box; each box has the
# keyboard and gives it back to the wizard, and the Menu key's Exit... ends the program.
keys_no_device ()
{
    local name="keys-no-device-${1##*/}"
    keys_begin "$name" "$@" || return 1
    wizard_key Menu
    check "the Menu key opens the menu" wizard_wait_until 5 wizard_window_shown menu || return 1
    wizard_shot "$shots/$name-menu.png"
    wizard_key Down Return
    box_has_keyboard "$WIZARD_ABOUT_TITLE" || return 1
    box_closes_to_wizard "$WIZARD_ABOUT_TITLE" Escape || return 1
    return_to_page4 || return 1
    wizard_key Return
    box_has_keyboard Error || return 1
    wizard_shot "$shots/$name.png"
    box_closes_to_wizard Error Return || return 1
    expect 5 "title next previous"
    check "the Return that closed the box turned no page" wizard_page_is 4
    wizard_key Menu Down Down Return
    check "Exit... from the Menu key ends the program" exited_with_0
}

# keys_update_by_return <name> <seconds> <program> [options...]: a whole update
# with Return alone, the transfer taking up to the seconds given, to Finish,
# and Return there, which ends the program (the caller checks how).
keys_update_by_return ()
{
    keys_begin "$1" "${@:3}" || return 1
    return_to_page4 || return 1
    check "Return on page 4 finds the device" wizard_page_changes_after 20 wizard_key Return || return 1
    check "the page is page 5" wizard_page_is 5 || return 1
    check "no box" no_error_box
    wizard_key Return
    expect 10 "title bar" || return 1
    transfer_completes "$2" || return 1
    wizard_key Return
}

# keys_return_during_search <demo>: Returns pressed while page 4 searches
# (behind a silent pair of ports, about a second) wait for the window: one of
# them may start the transfer from page 5, but none turns a page past the
# transfer page while it runs, and the update ends on the last page with the
# device holding the image.
keys_return_during_search ()
{
    local second
    keys_begin keys-return-during-search "$1" --inputs 2 --device-at 1,0 --latency-us 300 || return 1
    return_to_page4 || return 1
    for second in 1 2 3; do # each Return a key press of its own, as a user's are
        wizard_key Return
        sleep 0.2
    done
    check "the search ends on page 5 or the transfer page" wizard_wait_until 20 search_ended_on_page_5_or_6 || return 1
    ! wizard_shows "title next previous" || wizard_key Return
    for second in 1 2 3; do
        sleep 1
        check "the transfer page shows while the transfer runs, ${second} s on" wizard_shows "title bar" || return 1
    done
    transfer_completes 120 || return 1
    wizard_key Return
    check "Finish ends the program with status 0" exited_with_0
    check "the device holds the image" grep -q "the device holds the built-in firmware image" "$WIZARD_TMP/$current.log"
}

search_ended_on_page_5_or_6 ()
{
    no_error_box && { wizard_shows "title bar" || { wizard_shows "title next previous" && wizard_page_is 5; }; }
}

# keys_demo_cases <demo>: the cases above on the demo, each in a program of its own.
keys_demo_cases ()
{
    keys_update_by_return keys-whole-update 60 "$1" --latency-us 100
    check "Return on Finish ends the program with status 0" exited_with_0
    end_case
    keys_no_device "$1" --no-device
    end_case
    keys_return_during_search "$1"
    end_case
}
