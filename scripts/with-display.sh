#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a virtual one for the command's lifetime.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
