#!/usr/bin/env bash
# Builds the Windows tree into build-win and runs its tests under Wine, headless. The serial
# tests talk to kelvara-sim, which is built from the Linux tree.
source "$(dirname "$0")/common.sh"

install_windows_packages() {
    local missing=() package
    while read -r package; do
        dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed \
            || missing+=("$package")
    done < "$top/scripts/packages-windows.txt"
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

install_packages
install_windows_packages

sim_tree=$top/build-linux-win1
cmake -S "$top" -B "$sim_tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_BENCHMARKS=OFF
cmake --build "$sim_tree" -j "$(nproc)" --target kelvara-sim

cmake -S "$top" -B "$top/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DKELVARA_SIM="$sim_tree/bin/kelvara-sim"
cmake --build "$top/build-win" -j "$(nproc)"

cd "$top/build-win"
xvfb-run -a ctest --output-on-failure --timeout 300
