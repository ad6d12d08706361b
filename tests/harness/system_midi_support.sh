# The cases and the search on the wire shared by the tests that run the real
# updater on system MIDI, the device plugged in through device_host_support.sh
# behind a socket of the ALSA sequencer stand-in, unless the script then sets
# `plug_at` to --raw-midi DEVICE. Sourced after gui_test_support.sh by a script
# that has set `devicehost`, the path of vt5150-seq-device.

socket="$WIZARD_TMP/vt5150.socket"
plug_at=(--socket "$socket")
source "$(dirname "${BASH_SOURCE[0]}")/device_host_support.sh"

probe="F0 4E 7F 0D 78 F7"
ack="F0 4E 7F 0D 0D F7"

# search_finds <case> [seconds]: Next on page 4; the device answers the query
# that follows a successful probe, and page 5 shows.
search_finds ()
{
    local before
    before=$(answers_to_query "$1")
    wizard_click_next
    wizard_wait_until "${2:-20}" more_answers_than "$1" "$before" || check "the search finds the device" false
    expect 5 "title next previous"
}

answers_to_query () { cat "$WIZARD_TMP/$1.trace" 2>/dev/null | grep -c "^IN .* F0 4E 7F 0D 13 F7\$"; }
more_answers_than () { [ "$(answers_to_query "$1")" -gt "$2" ]; }

# The search on the wire as the stand-in traced it, up to the answer to the query, but active sensing.
search_on_wire () { grep -v ' FE$' "$WIZARD_TMP/$1.trace" | sed -n '1,/^IN .* F0 4E 7F 0D 13 F7$/p'; }

# The search on the wire when the device is on input 1 of 3 and output 2 of 3
# behind a "Midi Through" port and a silent output: the subscriptions, then
# the probes pair by pair, inputs outermost, up to the answer to the query.
expected_search="CONNECT IN Midi Through Port-0
CONNECT OUT Midi Through Port-0
OUT Midi Through Port-0 $probe
IN Midi Through Port-0 $probe
CONNECT OUT Synth
OUT Synth $probe
CONNECT OUT VT-5150
OUT VT-5150 $probe
CONNECT IN VT-5150
CONNECT OUT Midi Through Port-0
OUT Midi Through Port-0 $probe
CONNECT OUT Synth
OUT Synth $probe
CONNECT OUT VT-5150
OUT VT-5150 $probe
IN VT-5150 $ack
OUT VT-5150 F0 4E 7F 0D 56 F7
IN VT-5150 F0 4E 7F 0D 13 F7"

# The probes and the device's replies alone, the order in which the pairs are
# tried: without the subscriptions and the echoes of a "Midi Through" input,
# which each platform's MIDI closes in its own time (Wine only at the end).
probes_on_wire () { search_on_wire "$1" | grep -E '^(OUT |IN VT-5150 )'; }
expected_probes="$(grep -E '^(OUT |IN VT-5150 )' <<<"$expected_search")"

# found <case> <ports> [device options...]: plugs the device in, starts the
# updater (the test's `begin`) on these ports and searches until it finds it.
found ()
{
    plug_in "$1" "${@:3}"
    begin "$1" "$2"
    walk_to_page4
    search_finds "$1"
}

# found_on_the_user_machine <case>: the device on input 1 of 3 and output 2 of
# 3, sending active sensing every 300 ms all along.
found_on_the_user_machine () { found "$1" "through,output:Synth,device:VT-5150:socket=$socket:sense=300,input:Pad"; }

# silent_block_case [screenshot]: a transfer that fails, the device going silent in block 2.
silent_block_case ()
{
    found silent-block "device:VT-5150:socket=$socket" --fault silent-at-block=2
    transfer_fails_to_welcome "${1:-}"
}

# unplugged_case <screenshot>: the device unplugged once the bar shows the
# transfer under way; the error box within about a reply wait, then the
# welcome page, with the updater still running.
unplugged_case ()
{
    local unpluggedAt
    found unplugged "through,device:VT-5150:socket=$socket" --latency-us 400
    transfer_starts
    check "the transfer is under way" wizard_wait_until 10 wizard_bar_filled_to 5
    unpluggedAt=$SECONDS
    unplug
    check "the transfer-error box soon after the device went" wizard_wait_until 4 error_box_shown
    check "within about a reply wait" [ $((SECONDS - unpluggedAt)) -le 3 ]
    wizard_shot "$1"
    wizard_dismiss_error
    check "OK closes the box" wizard_wait_until 5 no_error_box
    expect 5 "next"
    check "the updater runs on" still_running
}

# found_again_then_transfer <case>: Previous on page 5, then Next finds the
# device again with no box, and Next starts the transfer.
found_again_then_transfer ()
{
    wizard_click_previous
    expect 5 "title next previous"
    search_finds "$1"
    check "no box when found again" no_error_box
    transfer_starts
}

# not_found_until_plugged_in <case>: the device-not-found box, then the device
# plugged in and found by the next search.
not_found_until_plugged_in ()
{
    walk_to_page4
    device_not_found
    plug_in "$1"
    search_finds "$1"
    check "found once plugged in" no_error_box
}
