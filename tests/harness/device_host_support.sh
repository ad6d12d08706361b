# A simulated VT-5150, hosted by vt5150-seq-device, plugged in and out. Sourced
# after gui_test_support.sh by a script that has set `devicehost`, the host
# program, and `plug_at`, the host's options that say where the device is
# plugged in (--socket PATH or --raw-midi DEVICE).

hostPid=""

# plug_in <name> [options...]: a simulated VT-5150 with these device or host
# options, which writes <name>.report and its bytes in order to <name>.device
# when it is unplugged or the updater lets go.
plug_in ()
{
    unplug
    "$devicehost" "${plug_at[@]}" --report "$WIZARD_TMP/$1.report" --trace "$WIZARD_TMP/$1.device" "${@:2}" \
        >"$WIZARD_TMP/$1.host.log" 2>&1 &
    hostPid=$!
    wizard_wait_until 20 grep -q "^listening at \|^plugged in at " "$WIZARD_TMP/$1.host.log" ||
        check "the simulated device is plugged in" false
}

# Unplugs the device, as the kernel removes a USB device's port; a host is
# killed 5 s after SIGTERM, and its socket removed for the next device.
unplug ()
{
    if [ -n "$hostPid" ] && ! vt5150_end_process "$hostPid" 5; then
        echo "[$current] the device host did not end within 5 s of SIGTERM and was killed" >&2
    fi
    hostPid=""
    [ "${plug_at[0]:-}" != --socket ] || rm -f "${plug_at[1]}"
}

# device_report <name> <line>: the report has the line, once the device has
# written it and ended (as it does when the updater lets go).
device_report ()
{
    if [ -n "$hostPid" ]; then
        wizard_wait_until 10 wizard_program_ended "$hostPid" || return 1
        wait "$hostPid" 2>/dev/null
        hostPid=""
    fi
    grep -qx "$2" "$WIZARD_TMP/$1.report" 2>/dev/null
}

device_holds_image ()
{
    check "the device holds the built-in image" device_report "$1" "image: match"
    check "the device saw no protocol violation" grep -qx "violations: 0" "$WIZARD_TMP/$1.report"
}
