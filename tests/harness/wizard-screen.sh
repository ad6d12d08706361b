# What the updater's window shows, read from ImageMagick screenshots: its
# controls, a signature of each page's text, the progress bar's fill.
# Sourced by wizard-driver.sh, whose WIZARD_X, WIZARD_Y and WIZARD_SHOT it reads.

# A screenshot of the whole screen into WIZARD_SHOT, or into the file given.
wizard_grab () { import -window root "${1:-$WIZARD_SHOT}"; }

# The wizard's controls in the last screenshot, e.g. "title next previous":
# each is light pixels (all channels above 63 %) where it sits over the
# picture's dark blue: the step title's left part (every page but the
# welcome page), each button left of its text, the progress bar's right end.
wizard_controls ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT)) y=$((WIZARD_Y + WIZARD_FRAME_TOP))
    local values names=(title next previous bar) shown=() i
    read -ra values < <(convert "$WIZARD_SHOT" -write mpr:shot +delete \
        \( mpr:shot -crop "56x16+$((x + 40))+$((y + 213))" \) \
        \( mpr:shot -crop "1x1+$((x + 424))+$((y + 328))" \) \
        \( mpr:shot -crop "1x1+$((x + 324))+$((y + 328))" \) \
        \( mpr:shot -crop "1x1+$((x + 546))+$((y + 192))" \) \
        -format '%[fx:maxima.r > 0.63 && maxima.g > 0.63 && maxima.b > 0.63] ' info:)
    for i in "${!names[@]}"; do
        [ "${values[$i]:-0}" != 1 ] || shown+=("${names[$i]}")
    done
    echo "${shown[*]:-nothing}"
}

# The last screenshot shows the progress bar, whatever lies over the rest.
wizard_bar_shown () { [[ " $(wizard_controls) " == *" bar "* ]]; }

# A signature of the last screenshot's step title and page text: each page's text is its own.
wizard_text_signature ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT)) y=$((WIZARD_Y + WIZARD_FRAME_TOP))
    convert "$WIZARD_SHOT" -crop "480x110+$((x + 40))+$((y + 210))" +repage -format '%#' info:
}

wizard_text_differs () { wizard_grab && [ "$(wizard_text_signature)" != "$1" ]; }

# Each page's text signature as the program first showed it to this test.
declare -A WIZARD_PAGE_SIGNATURES

# wizard_page_is <page>: the last screenshot's text is the page's own.
wizard_page_is ()
{
    local now
    now=$(wizard_text_signature)
    : "${WIZARD_PAGE_SIGNATURES[$1]:=$now}"
    [ "${WIZARD_PAGE_SIGNATURES[$1]}" = "$now" ]
}

# wizard_bar_filled_to <percent>: a new screenshot's progress bar is filled that far.
wizard_bar_filled_to ()
{
    local x=$((WIZARD_X + WIZARD_FRAME_LEFT + 1 + 547 * $1 / 100)) y=$((WIZARD_Y + WIZARD_FRAME_TOP + 192))
    wizard_grab && [ "$(convert "$WIZARD_SHOT" -crop "1x1+$x+$y" -format '%[fx:g - r > 0.2]' info:)" = 1 ]
}

# wizard_wait_steady <seconds>: until two screenshots a tenth of a second
# apart are the same, e.g. a box that has just opened is painted.
wizard_wait_steady () { WIZARD_LAST_SCREEN=""; wizard_wait_until "$1" wizard_screen_unchanged; }

wizard_screen_unchanged ()
{
    local before="$WIZARD_LAST_SCREEN"
    wizard_grab && WIZARD_LAST_SCREEN=$(identify -format '%#' "$WIZARD_SHOT") && [ "$WIZARD_LAST_SCREEN" = "$before" ]
}

# wizard_shows <controls>: a new screenshot shows exactly these, e.g. "title next previous".
wizard_shows () { wizard_grab && [ "$(wizard_controls)" = "$1" ]; }

# For a failure report: each shown window, the pointer, the window with the keyboard.
wizard_describe_screen ()
{
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        wizard_geometry "$id" && echo "    window $id at ${X},${Y} size ${WIDTH}x${HEIGHT}: $(xdotool getwindowname "$id" 2>/dev/null)"
    done
    echo "    pointer: $(xdotool getmouselocation 2>/dev/null); keyboard focus: $(xdotool getwindowfocus 2>/dev/null)"
}

# wizard_shot <file>: the main window's place on the screen, with whatever lies over it.
wizard_shot () { import -window root -crop "${WIZARD_WIDTH}x${WIZARD_HEIGHT}+${WIZARD_X}+${WIZARD_Y}" +repage "$1"; }
