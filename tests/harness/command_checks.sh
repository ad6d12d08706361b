# Checks of command-line programs' exit status and output, for the tests that
# run them as QA would.

failures=0
passed=0

fail () { echo "FAIL $*"; failures=$((failures + 1)); }

# outcome <name> <status, or "fails" for any but 0> <regex for the output> <command...>
outcome ()
{
    local output status
    output="$(timeout 60 "${@:4}" 2>&1)"
    status=$?
    if [ "$2" = fails ] && [ "$status" -ne 0 ] || [ "$status" = "$2" ]; then
        grep -Eq "$3" <<<"$output" && passed=$((passed + 1)) && return
    fi
    fail "$1: exit $status (wanted $2), output:"
    sed 's/^/    /' <<<"$output"
}

# finish_commands <what>: the tally, then exits with the tests' status.
finish_commands ()
{
    echo "$1: $passed passed, $failures failed"
    [ "$failures" -eq 0 ]
    exit
}
