#!/usr/bin/env bash
# Fails when a C++ file under src, tests, bench or fuzz differs from what clang-format
# (Debian's, with the repository's .clang-format) would write.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -type f | sort)
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
