#!/usr/bin/env bash
# Magnifier frame rate and memory under Wine.
#   tools/bench/magnifier.sh [--frames=N] [--soak=N] [--positions=1,5,10,16,30] [--input=x11|sendinput]
exec bash "$(dirname "$0")/run.sh" magnifier "$@"
