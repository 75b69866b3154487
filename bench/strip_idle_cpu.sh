#!/usr/bin/env bash
# The processor time of a shown, idle Stock Strip under Xvfb: once with the advance timer off and
# once turning its pages every second, each over SECONDS, as a share of one core.
# Targets: about 0 % with the timer off, under 0.5 % with it at 1 s.
#
# Usage: bench/strip_idle_cpu.sh [SECONDS]   (default 60)
# Needs: scripts/build test strip_idle, xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUORVANE_BUILD_DIR:-build/test}
seconds=${1:-60}

for advance in 0 1; do
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/strip_idle" "$seconds" "$advance"
done
