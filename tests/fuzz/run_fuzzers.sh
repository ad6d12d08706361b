#!/usr/bin/env bash
# Runs every fuzz target that the build lists (vt5150-fuzzers.txt beside the
# targets) for a bounded time, starting from its committed corpus (seeds and
# every input that once found a fault), and reports executions per second. New
# inputs go to a scratch folder, never into the repository; an input that
# breaks a target is kept in <artifact folder> and fails the run, as does a
# target without a corpus.
#
# Usage: run_fuzzers.sh <folder of vt5150-fuzz-*> <seconds per target> <artifact folder> [more libFuzzer flags]
set -uo pipefail

bin="$1"
seconds="$2"
artifacts="$3"
shift 3
corpus="$(cd "$(dirname "$0")" && pwd)/corpus"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
failed=0

[ -s "$bin/vt5150-fuzzers.txt" ] || { echo "fuzz: no list of targets, $bin/vt5150-fuzzers.txt" >&2; exit 1; }

while read -r name; do
    seeds="$corpus/$name"
    if [ ! -d "$seeds" ]; then
        echo "fuzz $name: FAILED, no corpus folder $seeds" >&2
        failed=$((failed + 1))
        continue
    fi
    mkdir -p "$scratch/$name"
    log="$artifacts/$name.log"

    if "$bin/vt5150-fuzz-$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/$name-" "$@" "$scratch/$name" "$seeds" </dev/null >"$log" 2>&1; then
        status=passed
    else
        status=FAILED
        failed=$((failed + 1))
    fi

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz $name: $status, ${runs:-?} executions, ${rate:-?} per second"
    [ "$status" = passed ] || tail -n 30 "$log" | sed 's/^/    /'
done <"$bin/vt5150-fuzzers.txt"

[ "$failed" -eq 0 ]
