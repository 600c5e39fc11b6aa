#!/usr/bin/env bash
# The house style: clang-format over every C++ file in the tree, clang-tidy over every unit in
# the compile database of the build folder given (default build/): the product code, the
# simulator, the device console, the tests and the benchmarks; then over the Win32 units in the
# MinGW build's database (default build-win/, as scripts/windows.sh leaves it), with the MinGW
# headers. The fuzz targets are built elsewhere. Any finding fails.
source "$(dirname "$0")/common.sh"
dir=${1:-$top/build}
win=${2:-$top/build-win}
cd "$top"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"

# tidy DATABASE LOG UNIT... [-- EXTRA-ARG...]
tidy() {
    local db=$1 log=$2
    shift 2
    run-clang-tidy -p "$db" -quiet -j "$(nproc)" "$@" > "$log" 2>&1 \
        || { grep -E 'warning:|error:' "$log" | sort -u; exit 1; }
}
mapfile -t units < <(git ls-files '*.cpp' \
    | grep -E '^(app|common|serial|operations|session|platform/qt|platform/linux|sim|tools|tests|bench)/' \
    | grep -vE '^(app|tests|bench)/win32/|^tests/fuzz/')
tidy "$dir" "$dir/clang-tidy.log" "${units[@]/#/$top/}"

[ -f "$win/compile_commands.json" ] || { echo "style: no MinGW build in $win (scripts/windows.sh)"; exit 1; }
mingw=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
mapfile -t units < <(git ls-files '*.cpp' | grep -E '^(app|platform|tests|bench)/win32/')
tidy "$win" "$win/clang-tidy.log" "${units[@]/#/$top/}" \
    -extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-isystem"$mingw" \
    -extra-arg=-isystem"$mingw/x86_64-w64-mingw32"
echo "style: clang-format and clang-tidy found nothing"
