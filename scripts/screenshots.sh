#!/usr/bin/env bash
# Redraws docs/window.png (the window at start) and docs/window-calibration.png (calibration
# frame revealed, window widened) under Xvfb, against the simulator; with a Windows tree in
# build-win, also docs/windows-window-96dpi.png and -144dpi.png under Wine.
source "$(dirname "$0")/common.sh"
install_packages
build "$top/build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$top/build/bin/window_screenshots" "$top/docs/window.png" "$top/docs/window-calibration.png"

win=$top/build-win/bin
if [ -x "$win/kelvara.exe" ]; then
    KELVARA_EXE=$win/kelvara.exe KELVARA_DRIVER=$win/window_driver.exe \
        KELVARA_FAKE_DEVCON=$win/devcon.exe KELVARA_SIM=$top/build/bin/kelvara-sim \
        KELVARA_E2E_PREFIX=$top/build-win/e2e-wine-prefix \
        xvfb-run -a -s "-screen 0 1600x1200x24" \
        bash "$top/tests/win32/e2e/scenarios.sh" screenshots "$top/docs"
fi
