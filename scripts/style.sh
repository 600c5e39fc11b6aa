#!/usr/bin/env bash
# The house style: clang-format over every C++ file in the tree, clang-tidy over the product
# code, the simulator and the device console in the compile database of the build folder given
# (default build/). Any finding fails.
source "$(dirname "$0")/common.sh"
dir=${1:-$top/build}
cd "$top"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"
mapfile -t units < <(git ls-files '*.cpp' | grep -E '^(app|common|serial|operations|platform/qt|platform/linux|sim|tools)/' \
    | grep -v '^app/win32/')
run-clang-tidy -p "$dir" -quiet -j "$(nproc)" "${units[@]/#/$top/}" > "$dir/clang-tidy.log" 2>&1 \
    || { grep -E 'warning:|error:' "$dir/clang-tidy.log" | sort -u; exit 1; }
echo "style: clang-format and clang-tidy found nothing"
