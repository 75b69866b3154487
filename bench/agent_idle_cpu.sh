#!/usr/bin/env bash
# The processor time of a shown, idle character: agentplay shows a character under Xvfb, leaves it
# idle (resting, with its occasional idling animations) and reports the processor time the whole
# program used while idle, as a share of one core.
#
# Usage: bench/agent_idle_cpu.sh [CHARACTER.acs] [SECONDS]
#   CHARACTER.acs  default: our own Pennywit.acs from the build tree when it is there, else the
#                  engine's small sample character
#   SECONDS        default: 60
# Needs: scripts/build test (agentplay, bench_sample_character), xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUORVANE_BUILD_DIR:-build/test}
character=${1:-}
seconds=${2:-60}

if [ -z "$character" ]; then
    if [ -f "$build/share/quorvane/chars/Pennywit.acs" ]; then
        character="$build/share/quorvane/chars/Pennywit.acs"
    else
        character=$(mktemp --suffix=.acs)
        trap 'rm -f "$character"' EXIT
        "$build/bench/bench_sample_character" "$character"
    fi
fi

echo "character: $character"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/agentplay" "$character" --fast --idle "$seconds"
