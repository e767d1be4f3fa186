#!/usr/bin/env bash
# Makes the project's private Wine prefix under build/, once: Wine draws window frames itself
# (Decorated=N), Chinese fonts stand in for the faces the windows name, no installer prompts.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$top/build"
exec 9>"$top/build/.wineprefix.lock"
flock 9
# Bump when the settings below change: an existing prefix then gets them applied again.
version=5
[ "$(cat "$WINEPREFIX/.project-ready" 2>/dev/null)" = "$version" ] && exit 0

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wineprefix: creating $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine's own faces (Marlett draws the title buttons) are not found in Debian's data folder.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# 宋体 draws black and crisp at the windows' sizes, as on Windows (see crisp-font.py).
song="AR PL UMing CN Crisp"
"$top/scripts/crisp-font.py" /usr/share/fonts/truetype/arphic/uming.ttc \
  "$WINEPREFIX/drive_c/windows/Fonts/uming-crisp.ttf" "$song"

kai="AR PL UKai CN"
sans="WenQuanYi Zen Hei"
reg=$(mktemp --suffix=.reg)
{
  echo 'Windows Registry Editor Version 5.00'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
  echo '"Decorated"="N"'
  # Unmanaged windows: without a window manager (Xvfb) Wine otherwise waits 2 s on every hide
  # for a withdrawal that never comes.
  echo '"Managed"="N"'
  echo
  # The menu and message-box fonts of a Chinese Windows, 宋体 at 12 pixels (Wine's own are an
  # 11-pixel Tahoma, which stands in as a smoothed sans face with thin, broken Chinese strokes).
  song12=$(python3 -c "import struct; print(','.join('%02x' % b for b in struct.pack('<5l8B', -12, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0) + '宋体'.encode('utf-16-le').ljust(64, b'\0')))")
  echo '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]'
  echo "\"MenuFont\"=hex:$song12"
  echo "\"MessageFont\"=hex:$song12"
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  for f in "宋体" "SimSun" "新宋体" "NSimSun"; do echo "\"$f\"=\"$song\""; done
  for f in "楷体_GB2312" "楷体" "KaiTi" "KaiTi_GB2312" "隶书" "LiSu"; do echo "\"$f\"=\"$kai\""; done
  for f in "黑体" "SimHei" "微软雅黑" "Microsoft YaHei"; do echo "\"$f\"=\"$sans\""; done
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
  for f in "MS Sans Serif" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Arial" \
           "Segoe UI" "System" "MS UI Gothic"; do echo "\"$f\"=\"$sans\""; done
  echo
  # Faces without CJK glyphs fall back to a linked face that has them, √ and × included.
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
  for f in "Tahoma" "Arial" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Lucida Sans Unicode" \
           "Courier New" "Times New Roman" "$sans"; do
    echo "\"$f\"=hex(7):$(printf 'uming-crisp.ttf,%s\0wqy-zenhei.ttc,%s\0\0' "$song" "$sans" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//')"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
echo "$version" >"$WINEPREFIX/.project-ready"
echo "wineprefix: ready"
