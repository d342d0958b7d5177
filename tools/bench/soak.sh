#!/usr/bin/env bash
# The full soak under Wine (about half an hour); --scale=0.1 for a shorter one.
#   tools/bench/soak.sh [--scale=F]
exec bash "$(dirname "$0")/run.sh" soak "$@"
