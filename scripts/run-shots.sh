#!/usr/bin/env bash
# Starts the exam program in APP_DIR on the current (virtual) display, saves a screenshot of the
# screen once its first window is up, then ends it. Usage: run-shots.sh APP_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
app=$1 out=$(cd "$2" && pwd)
(cd "$app" && exec wine exam.exe) &
pid=$!
for _ in $(seq 1 60); do
  sleep 0.5
  # A mapped top-level window of the program (the root always has Wine's hidden ones: count viewable).
  if xwininfo -root -children 2>/dev/null | grep -q '"'; then break; fi
done
sleep 2
import -window root "$out/login.png"
echo "run: screenshot saved: $out/login.png"
kill $pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
wait $pid 2>/dev/null || true
