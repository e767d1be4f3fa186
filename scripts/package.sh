#!/usr/bin/env bash
# Packs the 32-bit build for a centre: package.sh [OUT_DIR] (default out/) writes
#   OUT_DIR/exam-VERSION-portable.zip  exam.exe, qbank.exe, server.udl, the demo exam.db and a
#                                      Chinese readme.txt, in a folder exam-VERSION/
#   OUT_DIR/exam-VERSION-setup.exe     the installer (NSIS, Simplified Chinese, scripts/installer.nsi)
# BUILD_DIR names another build than build/win32.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build/win32}
out=${1:-$top/out}
version=$(sed -n 's/^set_property(GLOBAL PROPERTY PROGRAM_VERSION \([0-9.]*\))$/\1/p' "$top/cmake/ProgramResources.cmake")
[ -n "$version" ] || { echo "package: no PROGRAM_VERSION in cmake/ProgramResources.cmake" >&2; exit 1; }
app=$build/app
qbank=$build/tools/qbank/qbank.exe
icon=$build/res/program.ico
for f in "$app/exam.exe" "$app/exam.db" "$app/server.udl" "$qbank" "$icon"; do
  [ -f "$f" ] || { echo "package: $f is missing (run scripts/build.sh win32 first)" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The read-me as Notepad reads it on every Windows: UTF-8 with a byte-order mark, CRLF line ends.
readme=$stage/readme.txt
{ printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/g; s/\$/\r/" "$top/scripts/package-readme.txt"; } >"$readme"

folder=exam-$version
mkdir "$stage/$folder"
cp "$app/exam.exe" "$app/exam.db" "$app/server.udl" "$qbank" "$readme" "$stage/$folder/"
zip=$out/exam-$version-portable.zip
rm -f "$zip"
(cd "$stage" && zip -q -r -X "$zip" "$folder")

setup=$out/exam-$version-setup.exe
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DAPP_DIR="$app" -DQBANK="$qbank" -DREADME="$readme" \
  -DICON="$icon" -DOUT_FILE="$setup" "$top/scripts/installer.nsi"
echo "package: $zip"
echo "package: $setup"
