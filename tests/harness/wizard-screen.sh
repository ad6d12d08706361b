# What the updater's window shows, read from screenshots taken with ImageMagick:
# its controls, a signature of each page's text, the progress bar's fill.
# Sourced by wizard-driver.sh, whose window place
# (WIZARD_X, WIZARD_Y) and screenshot file (WIZARD_SHOT) it reads.
#
# Places are in pixels from the top-left corner of the window's content (the
# picture), the same coordinates the window lays its controls out in.

# Takes a screenshot of the whole screen into WIZARD_SHOT, or into the file given.
wizard_grab () { import -window root "${1:-$WIZARD_SHOT}"; }

# Describes the wizard's controls shown in the last screenshot, e.g. "title
# next previous": each is looked for as light pixels (all channels above
# 63 %) where it sits over the dark blue part of the picture:
#   title     the step title ("Step N.", antique white), shown on every page but
#             the welcome page; only its left part, clear of the page text
#   next      the Next button's light grey, left of its text
#   previous  the same for the Previous button
#   bar       the progress bar's light background at its right end

wizard_controls ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT)) y=$((WIZARD_Y + WIZARD_FRAME_TOP))
    local values names=(title next previous bar) shown=() i=0 value
    values=$(convert "$WIZARD_SHOT" -write mpr:shot +delete \
        \( mpr:shot -crop "56x16+$((x + 40))+$((y + 213))" \) \
        \( mpr:shot -crop "1x1+$((x + 424))+$((y + 328))" \) \
        \( mpr:shot -crop "1x1+$((x + 324))+$((y + 328))" \) \
        \( mpr:shot -crop "1x1+$((x + 546))+$((y + 192))" \) \
        -format '%[fx:maxima.r > 0.63 && maxima.g > 0.63 && maxima.b > 0.63] ' info:)
    for value in $values; do
        [ "$value" = 1 ] && shown+=("${names[$i]}")
        i=$((i + 1))
    done
    echo "${shown[*]:-nothing}"
}

# True when the last screenshot shows the progress bar, whatever lies over the rest.
wizard_bar_shown () { [[ " $(wizard_controls) " == *" bar "* ]]; }


# Prints a signature of the page's text area (the step title and the page
# text) in the last screenshot: each page's text is its own, so a signature
# that changes proves that another page shows.
wizard_text_signature ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT)) y=$((WIZARD_Y + WIZARD_FRAME_TOP))
    convert "$WIZARD_SHOT" -crop "480x110+$((x + 40))+$((y + 210))" +repage -format '%#' info:
}

# wizard_text_differs <signature>: takes a screenshot; true when its text area is not the one given.
wizard_text_differs () { wizard_grab && [ "$(wizard_text_signature)" != "$1" ]; }

# wizard_page_is <page>: true when the last screenshot's text area is the
# page's own, as the running program first showed it to this test; the first
# time a page is asked for, its signature is noted.
wizard_page_is ()
{
    local now
    now=$(wizard_text_signature)
    : "${WIZARD_PAGE_SIGNATURES[$1]:=$now}"
    [ "${WIZARD_PAGE_SIGNATURES[$1]}" = "$now" ]
}

# wizard_bar_filled_to <percent>: takes a screenshot; true when the progress
# bar's green fill reaches that far across the window.
wizard_bar_filled_to ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT + 1 + 547 * $1 / 100)) y=$((WIZARD_Y + WIZARD_FRAME_TOP + 192))
    wizard_grab && [ "$(convert "$WIZARD_SHOT" -crop "1x1+$x+$y" -format '%[fx:g - r > 0.2]' info:)" = 1 ]
}

# wizard_wait_steady <seconds>: waits until two screenshots a tenth of a second
# apart are the same, e.g. until a box that has just opened is painted.
wizard_wait_steady ()
{
    local previous=""
    wizard_wait_until "$1" wizard_screen_same_as previous
}

# wizard_screen_same_as <variable>: takes a screenshot; true when its
# signature equals the variable's, which then holds the new one.
wizard_screen_same_as ()
{
    local -n last="$1"
    local now
    wizard_grab || return 1
    now=$(identify -format '%#' "$WIZARD_SHOT")
    [ "$now" = "$last" ] && return 0
    last=$now
    return 1
}

# wizard_shows <controls>: takes a screenshot and compares what it shows, e.g. wizard_shows "title next previous".
wizard_shows () { wizard_grab && [ "$(wizard_controls)" = "$1" ]; }

# Describes the screen for a failure report: each shown window's id, place,
# size and title, the pointer's place and the window that has the keyboard.
wizard_describe_screen ()
{
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        wizard_geometry "$id" && echo "    window $id at ${X},${Y} size ${WIDTH}x${HEIGHT}: $(xdotool getwindowname "$id" 2>/dev/null)"
    done
    echo "    pointer: $(xdotool getmouselocation 2>/dev/null); keyboard focus: $(xdotool getwindowfocus 2>/dev/null)"
}

# wizard_shot <file>: saves a screenshot of the main window's place on the
# screen, with whatever lies over it (menu, message box, about box).
wizard_shot () { import -window root -crop "${WIZARD_WIDTH}x${WIZARD_HEIGHT}+${WIZARD_X}+${WIZARD_Y}" +repage "$1"; }

# wizard_next_button_shot <file>: saves a picture of the Next button alone,
# with the pointer moved off it first, so that it is not highlighted.
wizard_next_button_shot ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT)) y=$((WIZARD_Y + WIZARD_FRAME_TOP))
    xdotool mousemove $((x + 200)) $((y + 100))
    wizard_wait_steady 5
    import -window root -crop "100x24+$((x + 420))+$((y + 325))" +repage "$1"
}
