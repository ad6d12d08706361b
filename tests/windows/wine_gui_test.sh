#!/usr/bin/env bash
# Runs the Windows demo under Wine as a user would, on a private Xvfb and in a
# private Wine: through a whole update to Finish, through its menu and about
# box, and at 200 %, saving a screenshot of every page. The real updater's
# boxes and failed transfer under Wine are cases of wine_keyboard_gui_test.sh
# and wine_midi_gui_test.sh.
#
# Usage: wine_gui_test.sh <vt5150-updater-demo.exe> <folder for screenshots>
set -uo pipefail

demo="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../../scripts/windows.sh"

begin () { begin_program "$1" "$VT5150_WINE" "${@:2}"; }

page_shot () { wizard_shot "$shots/$1.png"; }
numbered_page_shot () { page_shot "page$1"; }

# True when the last screenshot shows, where the device picture's panel lies
# in a window at 200 %, the double-size artwork pixel for pixel: a picture of
# half the size enlarged would differ in most of them.
shows_double_size_artwork ()
{
    local band=1098x340
    convert "$WIZARD_SHOT" -crop "$band+$((WIZARD_X + 2 * WIZARD_FRAME_LEFT))+$((WIZARD_Y + 2 * WIZARD_FRAME_TOP))" \
        +repage "$WIZARD_TMP/band.png" &&
        convert "$VT5150_ROOT/resources/VT5150@2x.png" -crop "$band+0+0" +repage "$WIZARD_TMP/artwork.png" &&
        [ "$(compare -metric AE "$WIZARD_TMP/band.png" "$WIZARD_TMP/artwork.png" null: 2>&1)" = 0 ]
}

start_test vt5150_stop_wine
check "Wine starts" vt5150_start_wine || exit 1
echo "$("$VT5150_WINE" --version) in a private prefix, display $DISPLAY"

# The whole update, to Finish. -------------------------------------------------
# The device answers after 300 us, so that the transfer (25,222 exchanges)
# lasts long enough for the checks made while it runs.
begin whole-update "$demo" --latency-us 300
demo_window_checks
page_shot page0-welcome
walk_to_page4 numbered_page_shot
check "the search finds the simulated device" search_finds_device
page_shot page5
transfer_starts
page_shot page6-transfer
# Alt+F4 asks to close the window as the taskbar's Close does.
xdotool key alt+F4
sleep 1
check "Alt+F4 is refused during the transfer" still_running
first=$WIZARD_PID
"$VT5150_WINE" "$demo" >"$WIZARD_TMP/second.log" 2>&1 &
WIZARD_PID=$!
check "a second instance ends by itself with status 0" exited_with_0
check "only one window" [ "$(xdotool search --onlyvisible --name "^$WIZARD_TITLE\$" | wc -l)" -eq 1 ]
end_case
WIZARD_PID=$first
transfer_completes 120
page_shot page7-finished
finish_ends_program
end_case

# The window menu and the about box. -----------------------------------------
begin about "$demo" --latency-us 0
menu_and_about
xdotool key alt+F4
check "Alt+F4 ends the program on the welcome page" exited_with_0
end_case

# At 200 %, as Windows scales a display and Wine's LogPixels tells it: the
# window twice as large, its picture sharp. ------------------------------------
"$VT5150_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
vt5150_wait_for_wine
begin_case scaled-200
wizard_launch "$WIZARD_TMP/$current.log" "$VT5150_WINE" "$demo"
if check "the window opens" wizard_find_window 20; then
    check "twice as large: ${WIZARD_WIDTH}x${WIZARD_HEIGHT}" [ "$WIZARD_WIDTH" -eq 1102 ] && [ "$WIZARD_HEIGHT" -eq 796 ]
    wizard_wait_steady 5
    page_shot page0-welcome-200
    check "the picture is the double-size artwork, pixel for pixel" shows_double_size_artwork
    wizard_click_close
    check "the close button ends the demo with status 0" exited_with_0
fi
end_case

finish_checks
