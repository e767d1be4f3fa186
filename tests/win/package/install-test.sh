#!/usr/bin/env bash
# install-test.sh BUILD_DIR PLAN WORK: packs BUILD_DIR, installs the setup program silently into
# the project's Wine prefix, drives one exam (PLAN) with the installed program from the working
# folder of its Start-menu shortcut, uninstalls (the database stays), reinstalls (the database is
# not replaced) and uninstalls with /DELETEDATA (nothing stays). Needs a display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
build=$1 plan=$2 work=$3
source "$top/scripts/wine-env.sh"
"$top/scripts/wineprefix.sh"
# No desktop entries in the user's Linux menus for the shortcuts the installer makes.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits up to 60 s for a path to go away (the uninstaller runs on from a copy of itself).
wait_gone() { for _ in $(seq 120); do [ -e "$1" ] || return 0; sleep 0.5; done; fail "$1 is still there"; }

rm -rf "$work"
mkdir -p "$work"
BUILD_DIR=$build "$top/scripts/package.sh" "$work/out"
setup=$(ls "$work"/out/exam-*-setup.exe)
listing=$(unzip -l "$work"/out/exam-*-portable.zip)
for f in exam.exe qbank.exe exam.db server.udl readme.txt; do
  grep -q "exam-[0-9.]*/$f\$" <<<"$listing" || fail "the zip has no $f"
done

c=$WINEPREFIX/drive_c
prog="$c/Program Files (x86)/焊工考试系统"
data="$c/ProgramData/焊工考试系统"
menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/焊工考试系统"
desktop="$c/users/Public/Desktop/焊工考试.lnk"
# Leftovers of an earlier, interrupted run would hide what this run installs.
rm -rf "$prog" "$data" "$menu" "$desktop"

echo "== install"
wine "$setup" /S
for f in "$prog/exam.exe" "$prog/qbank.exe" "$prog/readme.txt" "$prog/uninstall.exe" "$data/exam.db" \
         "$data/server.udl" "$menu/焊工考试.lnk" "$desktop"; do
  [ -f "$f" ] || fail "not installed: $f"
done
[ ! -e "$prog/exam.db" ] || fail "the database went beside the program, not into the data folder"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QorvaneExam' /v UninstallString \
  2>/dev/null | grep -q uninstall.exe || fail "no uninstall entry"

echo "== one exam from the shortcut's working folder"
start_in=$(python3 "$here/read-lnk.py" "$menu/焊工考试.lnk")
echo "shortcut starts in: $start_in"
[ "$(cd "$(winepath -u "$start_in")" && pwd -P)" = "$(cd "$data" && pwd -P)" ] || fail "the shortcut starts in $start_in"
wine "$build/tests/e2e/exam_drive.exe" "$start_in" "$(winepath -w "$plan")" --exe "$(winepath -w "$prog/exam.exe")" \
  >"$work/drive.log" 2>&1 || { cat "$work/drive.log"; fail "the installed program failed its exam"; }
grep -E '^(answered|total)=' "$work/drive.log"
answered=$(sha256sum <"$data/exam.db")

echo "== uninstall, keeping the database"
wine "$prog/uninstall.exe" /S
wait_gone "$prog"
wait_gone "$menu"
wait_gone "$desktop"
[ -f "$data/exam.db" ] && [ -f "$data/server.udl" ] || fail "the uninstaller removed the database unasked"
[ "$(sha256sum <"$data/exam.db")" = "$answered" ] || fail "the kept database changed"
! wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QorvaneExam' >/dev/null 2>&1 ||
  fail "the uninstall entry stayed"

echo "== reinstall keeps the answered database"
wine "$setup" /S
[ -f "$prog/exam.exe" ] || fail "reinstall did not install"
[ "$(sha256sum <"$data/exam.db")" = "$answered" ] || fail "reinstalling replaced the database"

echo "== uninstall /DELETEDATA"
wine "$prog/uninstall.exe" /S /DELETEDATA
wait_gone "$prog"
wait_gone "$data"
echo "install test: OK"
