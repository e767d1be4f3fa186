#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a virtual one for the command's lifetime.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
# A Wine server of this prefix left from an earlier command keeps the desktop it made there (on a
# display that is gone, or none); programs started on the new display would join it and show no
# window. Wait for it to end first.
wineserver -w 2>/dev/null || true
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
