#!/usr/bin/env bash
# The test machine shows a build folder and a scratch folder under /tmp, each
# with a space in its path, as a clone under /tmp would have them, while its
# own /tmp stays private both ways.
#
# Usage: run_in_vm_test.sh
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"

top="$(mktemp -d /tmp/vt5150-vm-test.XXXXXX)"
trap 'rm -rf "$top"' EXIT
build="$top/a build folder"
scratch="$top/a scratch folder"
mkdir -p "$build" "$scratch"
echo "read from the build folder" >"$build/marker"
echo "not shared" >"$top/hidden"

failures=0
fail () { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

# shellcheck disable=SC2016 # expanded inside the machine
inside='cat "$1/marker" &&
    echo written >"$2/result" &&
    if [ -e "$3/hidden" ]; then echo "the host /tmp shows through"; fi &&
    echo private >"$3-inside"'
output="$("$here/run_in_vm.sh" "$build" "$scratch" 600 bash -c "$inside" - "$build" "$scratch" "$top")"
status=$?

[ "$status" -eq 0 ] || fail "the command's status was $status"
[ "$output" = "read from the build folder" ] || fail "the command printed \"$output\""
[ "$(cat "$scratch/result" 2>/dev/null)" = written ] || fail "the command's file did not reach the scratch folder"
[ ! -e "$top-inside" ] || fail "a file written to the machine's /tmp reached the host's"

[ "$failures" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
[ "$failures" -eq 0 ]
