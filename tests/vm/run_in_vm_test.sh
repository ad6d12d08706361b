#!/usr/bin/env bash
# The test machine shows a build folder and a scratch folder under /tmp, each
# with a space in its path, as a clone under /tmp would have them, over the
# machine's own private /tmp.
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

# shellcheck disable=SC2016 # expanded inside the machine
output="$("$here/run_in_vm.sh" "$build" "$scratch" 600 bash -c 'cat "$1/marker" && echo written >"$2/result"' - \
    "$build" "$scratch")"
status=$?
result="$(cat "$scratch/result" 2>/dev/null)"

[ "$status" -eq 0 ] && [ "$output" = "read from the build folder" ] && [ "$result" = written ] && exit 0
echo "FAILED: status $status (wanted 0), printed \"$output\", wrote \"$result\" into the scratch folder" >&2
exit 1
