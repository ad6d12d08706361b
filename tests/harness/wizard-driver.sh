# Drives the updater's window with xdotool, as a user would, and reads it from
# screenshots (wizard-screen.sh). Places are in pixels from the top-left corner
# of the window's content. (No --sync on mousemove: it waits for a movement
# that never comes when the pointer is already there.)

VT5150_ROOT="${VT5150_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"

source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wizard-screen.sh"

# The product's names as the build wrote them; the registered tests name their own build's file.
VT5150_FACTS="${VT5150_FACTS:-$VT5150_ROOT/build/generated/product-facts.sh}"
[ -r "$VT5150_FACTS" ] || { echo "wizard-driver: $VT5150_FACTS is missing: configure the build first" >&2; return 1; }
source "$VT5150_FACTS"

WIZARD_TITLE="$VT5150_FACT_APPLICATION_NAME"
WIZARD_ABOUT_TITLE="About $VT5150_FACT_PRODUCT..."
WIZARD_FRAME_LEFT=1  # the frame's border, left of the content
WIZARD_FRAME_TOP=27  # the border and the title bar, above the content
WIZARD_TMP="${WIZARD_TMP:-$(mktemp -d)}"
# JUCE's single-instance lock on Linux; empty where the programs lock elsewhere (Wine).
WIZARD_INSTANCE_LOCK="/var/tmp/juceAppLock_$WIZARD_TITLE"
WIZARD_SHOT="$WIZARD_TMP/now.miff"

# wizard_launch <output file> <program> [arguments...]: its process id is WIZARD_PID.
wizard_launch () { "${@:2}" >"$1" 2>&1 & WIZARD_PID=$!; }

# wizard_wait_until <seconds> <command...>: runs the command every 0.1 s until it succeeds.
wizard_wait_until ()
{
    local tries
    for ((tries = $1 * 10; tries > 0; tries--)); do
        "${@:2}" && return 0
        wizard_nudge
        sleep 0.1
    done
    return 1
}

# JUCE's event loop on Linux waits for its X connection's socket to become
# readable, so input that Xlib has already read off it during other X calls
# waits until more arrives, which a desktop's X server always sends soon. On a
# bare display, while the driver waits, it changes a property of its own on
# the main window, which the program ignores.
wizard_nudge ()
{
    [ -z "${WIZARD_WINDOW:-}" ] || xprop -id "$WIZARD_WINDOW" -f _VT5150_DRIVER 8s -set _VT5150_DRIVER waiting 2>/dev/null
}

# wizard_window_id <title>: the visible window with exactly this title.
wizard_window_id ()
{
    xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" 2>/dev/null | head -1
}

wizard_window_shown () { [ -n "$(wizard_window_id "$1")" ]; }
wizard_window_gone () { ! wizard_window_shown "$1"; }

# Waits for the main window and notes its id, place and size.
wizard_find_window ()
{
    wizard_wait_until "${1:-20}" wizard_window_shown "$WIZARD_TITLE" || return 1
    WIZARD_WINDOW=$(wizard_window_id "$WIZARD_TITLE")
    wizard_geometry "$WIZARD_WINDOW" || return 1
    WIZARD_X=$X WIZARD_Y=$Y WIZARD_WIDTH=$WIDTH WIZARD_HEIGHT=$HEIGHT
}

# wizard_geometry <window id>: sets X, Y, WIDTH and HEIGHT from xdotool's
# report, whole numbers only (never running what it prints).
wizard_geometry ()
{
    local key value
    X= Y= WIDTH= HEIGHT=
    while IFS='=' read -r key value; do
        [[ "$key" =~ ^(X|Y|WIDTH|HEIGHT)$ && "$value" =~ ^-?[0-9]+$ ]] && printf -v "$key" %s "$value"
    done < <(xdotool getwindowgeometry --shell "$1" 2>/dev/null)
    [ -n "$X" ] && [ -n "$Y" ] && [ -n "$WIDTH" ] && [ -n "$HEIGHT" ]
}

# wizard_geometry_of <title>: wizard_geometry of the visible window with this title.
wizard_geometry_of ()
{
    local id
    id=$(wizard_window_id "$1")
    [ -n "$id" ] && wizard_geometry "$id"
}

# wizard_click <x> <y> [mouse button]
wizard_click ()
{
    xdotool mousemove $((WIZARD_X + WIZARD_FRAME_LEFT + $1)) $((WIZARD_Y + WIZARD_FRAME_TOP + $2)) click "${3:-1}"
}

wizard_click_next ()     { wizard_click 470 337; }
wizard_click_previous () { wizard_click 370 337; }

wizard_click_close () { xdotool mousemove $((WIZARD_X + WIZARD_WIDTH - 14)) $((WIZARD_Y + 13)) click 1; }

# Clicks OK in the middle of the "Error" box's bottom row.
wizard_dismiss_error ()
{
    wizard_geometry_of Error && xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
}

wizard_next_page () { wizard_page_changes_after "${1:-10}" wizard_click_next; }

# wizard_page_changes_after <seconds> <command...>: runs the command (a click,
# a key); true once another page's text shows.
wizard_page_changes_after ()
{
    local before
    wizard_grab || return 1
    before=$(wizard_text_signature)
    "${@:2}"
    wizard_wait_until "$1" wizard_text_differs "$before"
}

# wizard_wait_exit <seconds>: its exit status is then WIZARD_STATUS.
wizard_wait_exit () { wizard_wait_until "$1" wizard_program_ended || return 1; wait "$WIZARD_PID"; WIZARD_STATUS=$?; }

wizard_program_ended () { ! kill -0 "${1:-$WIZARD_PID}" 2>/dev/null; }

# The process id and command line of every process that holds the
# single-instance lock, known by device and inode, as a process in another
# mount namespace may lock another file of the same name.
wizard_lock_holders ()
{
    local file pid inode device
    [ -n "$WIZARD_INSTANCE_LOCK" ] && [ -e "$WIZARD_INSTANCE_LOCK" ] || return 0
    file=$(stat -c '%i %Hd:%Ld' "$WIZARD_INSTANCE_LOCK")
    lslocks --noheadings --output PID,INODE,MAJ:MIN 2>/dev/null | while read -r pid inode device; do
        [ "$inode $device" != "$file" ] || vt5150_process_line "$pid"
    done
}

# Opens the window menu with the right button held on the picture: the menu
# opens under the pointer, and the choice is made by releasing the button on
# an item (wizard_choose_menu_item).
wizard_open_menu ()
{
    xdotool mousemove $((WIZARD_X + WIZARD_FRAME_LEFT + 200)) $((WIZARD_Y + WIZARD_FRAME_TOP + 100)) mousedown 3
    wizard_wait_until 5 wizard_window_shown menu || { xdotool mouseup 3; return 1; }
    sleep 0.3
}

# wizard_choose_menu_item about|exit: moves onto the top or the bottom row of
# the open menu in a few steps, as a hand would, and releases the button there.
wizard_choose_menu_item ()
{
    local step itemY
    wizard_geometry_of menu || return 1
    itemY=$((Y + 14))
    [ "$1" = about ] || itemY=$((Y + HEIGHT - 14))
    for step in 8 4 2 0; do
        xdotool mousemove $((X + WIDTH / 2 + step)) "$itemY"
        sleep 0.1
    done
    sleep 0.2
    xdotool mouseup 3
    wizard_wait_until 5 wizard_window_gone menu
}

# wizard_press_key_in <title> <key>: presses the key with the pointer over the
# window, where a display without a window manager sends it when no window has
# taken the keyboard.
wizard_press_key_in ()
{
    wizard_geometry_of "$1" || return 1
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    sleep 0.1
    xdotool key "$2"
}

# Keys pressed with XTEST, like a real keyboard's, with the pointer parked off
# every window, reach a window only if the program itself gave it the focus
# (XSetInputFocus): a bare display has no window manager to do so.
wizard_park_pointer () { xdotool mousemove 0 0; }

# wizard_key <key...>: keys as xdotool names them (Tab, Return, Menu...), a tenth of a second apart.
wizard_key () { xdotool key --delay 100 "$@"; }

# wizard_focus_in <title>: true when the window with that title has the keyboard focus.
wizard_focus_in () { [ "$(xdotool getwindowfocus -f getwindowname 2>/dev/null)" = "$1" ]; }

