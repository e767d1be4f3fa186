#!/usr/bin/env bash
# Runs one exam on the demo bank with the end-to-end driver on the current (virtual) display,
# saves a picture of each step under OUT_DIR/demo/ (login, waiting window, exam ready, a question
# of each type, the confirmation, the score window, review) and prints the score.
# Usage: run-shots.sh APP_DIR OUT_DIR [PLAN]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
app=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)/demo
plan=${3:-$top/tests/e2e/plans/mixed.plan}
driver=$app/../tests/e2e/exam_drive.exe
rm -rf "$out"
mkdir -p "$out/work"
cp "$app/exam.db" "$app/server.udl" "$out/work/"
set +e
wine "$driver" "$(winepath -w "$out/work")" "$(winepath -w "$plan")" --exe "$(winepath -w "$app/exam.exe")" \
  --shots "$(winepath -w "$out")" >"$out/drive.log" 2>&1
status=$?
set -e
for bmp in "$out"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
rm -rf "$out/work"
grep -E '^(FAIL|e2e: (OK|FAILED))' "$out/drive.log" || true
echo "run: score of the demo exam ($(basename "$plan")):"
grep -E '^[a-z_]+=' "$out/drive.log" | sed 's/^/  /'
echo "run: pictures of every step: $out/*.png"
exit $status
