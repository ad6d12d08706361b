# The processes that the tests start: ending them, marking them so that those
# left alive after a run are found, and preloading libraries into them.
# Sourced through the window driver and by scripts/common.sh.

# vt5150_end_process <pid> <seconds>: SIGTERM, then SIGKILL after the seconds
# given, and reaped when it is this shell's child; fails when it had to be killed.
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

# A mark in the environment that every process started from here on inherits,
# so that vt5150_check_no_leftovers finds those still alive.
vt5150_mark_processes () { export VT5150_RUN_MARK="vt5150-run-$$-$RANDOM$RANDOM"; }

vt5150_marked_processes ()
{
    local pid
    for pid in /proc/[0-9]*; do
        pid=${pid#/proc/}
        [ "$pid" != "$$" ] && tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" |
            grep -qxF "VT5150_RUN_MARK=$VT5150_RUN_MARK" && vt5150_process_line "$pid"
    done
}

# vt5150_process_line <pid>: the process id and its command line, for a report.
vt5150_process_line () { echo "$1 $({ tr '\0' ' ' <"/proc/$1/cmdline"; } 2>/dev/null)"; }

# Fails, naming and killing them, when marked processes but this shell are still alive.
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
