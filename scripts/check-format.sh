#!/usr/bin/env bash
# Fails, naming the files, when a C++ source of the tree differs from what .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' ':!:third_party/*' | xargs clang-format --dry-run -Werror
echo "format: every source follows .clang-format"
