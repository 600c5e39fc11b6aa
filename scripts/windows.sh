#!/usr/bin/env bash
# Builds the Windows tree into build-win and runs its tests under Wine, headless. The serial
# tests talk to kelvara-sim, which is built from the Linux tree.
source "$(dirname "$0")/common.sh"

install_packages
install_packages "$top/scripts/packages-windows.txt"

# The simulator comes from the Linux tree that test.sh builds.
sim_tree=$top/build
build "$sim_tree"

cmake -S "$top" -B "$top/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DKELVARA_SIM="$sim_tree/bin/kelvara-sim"
cmake --build "$top/build-win" -j "$(nproc)"

cd "$top/build-win"
xvfb-run -a ctest --output-on-failure --timeout 300
