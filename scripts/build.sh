#!/usr/bin/env bash
# Configures (once) and builds the given targets: native, win32, win64 (default: all three).
# BUILD_SUFFIX=-x builds in build/win32-x etc.; extra cmake --build arguments come from BUILD_ARGS.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native win32 win64)
jobs=${JOBS:-$(nproc)}
for t in "${targets[@]}"; do
  dir="$top/build/$t${BUILD_SUFFIX:-}"
  case $t in
    native) args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake") ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake") ;;
    *) echo "build: unknown target $t (native, win32, win64)" >&2; exit 2 ;;
  esac
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
  fi
  echo "== build $t"
  # The filter's own status never counts (it fails when it lets no line through); with pipefail
  # the pipeline then fails exactly when the build does, and the compiler's messages stay shown.
  if ! cmake --build "$dir" -j "$jobs" ${BUILD_ARGS:-} 2>&1 |
    { grep -v -E '^\[ *[0-9]+%\] (Building|Linking)|^Consolidate compiler generated dependencies' || true; }; then
    echo "build: the $t build failed" >&2
    exit 1
  fi
done
