# The processes that the tests start: ending them, marking them so that those
# left alive after a run are found, and preloading libraries into them.
# Sourced through the window driver and by scripts/common.sh.

# vt5150_end_process <pid> <seconds>: sends the process SIGTERM, waits for it
# to end for at most the seconds given, then kills it, and reaps it when it is
# this shell's child. Fails when it had to be killed.
vt5150_end_process ()
{
    local pid="$1" tries=$(($2 * 10)) status=0
    kill "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
        sleep 0.1
        tries=$((tries - 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
        status=1
    fi
    wait "$pid" 2>/dev/null || true
    return "$status"
}

# vt5150_mark_processes: marks this shell's environment, so that every process
# started from it from then on, and every process those start, carries the
# mark; vt5150_check_no_leftovers later finds those still alive.
vt5150_mark_processes ()
{
    export VT5150_RUN_MARK="vt5150-run-$$-$RANDOM$RANDOM"
}

# Prints the process id and command line of every marked process but this shell.
vt5150_marked_processes ()
{
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" != "$$" ] || continue
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "VT5150_RUN_MARK=$VT5150_RUN_MARK"; then
            echo "$pid $({ tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null)"
        fi
    done
}

# Fails, naming them, when processes started since vt5150_mark_processes are
# still alive (a test that leaves its program, display or Wine running), after
# ending them so that they hold nothing up.
vt5150_check_no_leftovers ()
{
    local leftovers pid
    leftovers=$(vt5150_marked_processes)
    [ -z "$leftovers" ] && return 0
    echo "FAILED: these processes started by the tests outlived them:" >&2
    echo "$leftovers" | sed 's/^/    pid /' >&2
    for pid in $(echo "$leftovers" | cut -d ' ' -f 1); do
        kill -KILL "$pid" 2>/dev/null || true
    done
    return 1
}

# vt5150_preload <library...>: sets VT5150_PRELOAD to the environment that
# preloads these libraries into a program started with env. LD_PRELOAD splits
# at spaces and cannot be quoted, so it names the libraries alone, and
# LD_LIBRARY_PATH, which takes any path without a colon, their folders.
vt5150_preload ()
{
    local names=() folders=() library
    for library in "$@"; do
        names+=("$(basename "$library")")
        folders+=("$(cd "$(dirname "$library")" && pwd)")
    done
    VT5150_PRELOAD=("LD_PRELOAD=${names[*]}"
                    "LD_LIBRARY_PATH=$(IFS=:; echo "${folders[*]}")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}")
}
