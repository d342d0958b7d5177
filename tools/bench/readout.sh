#!/usr/bin/env bash
# The live readout's speed under Wine.
#   tools/bench/readout.sh [--moves=N] [--rate=HZ]
exec bash "$(dirname "$0")/run.sh" readout "$@"
