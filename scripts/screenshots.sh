#!/usr/bin/env bash
# Redraws docs/window.png (the window at start) and docs/window-calibration.png (calibration
# frame revealed, window widened) under Xvfb, against the simulator.
source "$(dirname "$0")/common.sh"
install_packages
build "$top/build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$top/build/bin/window_screenshots" "$top/docs/window.png" "$top/docs/window-calibration.png"
