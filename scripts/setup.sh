#!/usr/bin/env bash
# Installs what the build, the tests and ./run need on a Debian 12 machine, once.
# Safe to run again: every step checks before it acts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
third="$top/build/third_party"

packages=(cmake g++ make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386
          fonts-wine xvfb xauth x11-utils imagemagick fonts-arphic-uming fonts-arphic-ukai fonts-wqy-zenhei
          googletest libsqlite3-dev sqlite3 tclsh clang clang-format dpkg-dev python3 python3-fonttools nsis zip unzip unrtf)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The SQLite amalgamation for the Windows builds comes from Debian's source package.
deb_src_file=/etc/apt/sources.list.d/project-deb-src.sources
need_src=0
[ -f "$third/sqlite/sqlite3.c" ] || need_src=1

if [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  if [ $need_src = 1 ] && [ ! -f "$deb_src_file" ]; then
    # Copy the machine's own deb822 sources with Types: deb-src; never name a host ourselves.
    src=$(ls /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v project-deb-src | head -1 || true)
    if [ -n "$src" ]; then
      sed 's/^Types:.*/Types: deb-src/' "$src" | as_root tee "$deb_src_file" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/project-deb-src.list >/dev/null
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync fails one index now and then; the install below then says
  # plainly what it could not find, so a failed refresh alone does not stop the set-up.
  as_root apt-get update -qq || echo "setup: apt-get update reported errors; going on with the indexes it has" >&2
  if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

if [ ! -f "$third/sqlite/sqlite3.c" ]; then
  echo "setup: making the SQLite amalgamation from Debian's sqlite3 source package"
  work="$third/sqlite-src"
  rm -rf "$work"; mkdir -p "$work" "$third/sqlite"
  (cd "$work" && apt-get source -qq --download-only sqlite3 >/dev/null && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  (cd "$work/src" && ./configure >/dev/null && make sqlite3.c >/dev/null)
  cp "$work/src/sqlite3.c" "$work/src/sqlite3.h" "$third/sqlite/"
  rm -rf "$work"
fi
