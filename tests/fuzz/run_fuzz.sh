#!/usr/bin/env bash
# Runs one libFuzzer binary for a number of seconds, starting from its seed
# files; new inputs go to a scratch directory, crash inputs next to the
# binary. Fails when the fuzzer finds a crash, a leak or a hang.
set -euo pipefail
bin=$1 seeds=$2 seconds=${3:-20} artifacts=${4:-.}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
exec "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$artifacts/" "$work/corpus" "$seeds"
