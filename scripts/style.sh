#!/usr/bin/env bash
# The house style: clang-format over every C++ file in the tree, clang-tidy over every unit in
# the compile database of the build folder given (default build/): the product code, the
# simulator, the device console, the tests and the benchmarks. The Windows units and the fuzz
# targets are built elsewhere. Any finding fails.
source "$(dirname "$0")/common.sh"
dir=${1:-$top/build}
cd "$top"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"
mapfile -t units < <(git ls-files '*.cpp' | grep -E '^(app|common|serial|operations|platform/qt|platform/linux|sim|tools|tests|bench)/' \
    | grep -vE '^(app|tests|bench)/win32/|^tests/fuzz/')
run-clang-tidy -p "$dir" -quiet -j "$(nproc)" "${units[@]/#/$top/}" > "$dir/clang-tidy.log" 2>&1 \
    || { grep -E 'warning:|error:' "$dir/clang-tidy.log" | sort -u; exit 1; }
echo "style: clang-format and clang-tidy found nothing"
