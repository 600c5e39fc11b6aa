#!/usr/bin/env bash
# Installs what is missing, builds, starts the controller simulator and then the program,
# which finds the simulator by its port scan. Without a display both run under Xvfb and a
# screenshot of the window is saved as build/kelvara-window.png.
source "$(dirname "$0")/common.sh"
install_packages
build "$top/build"
bin="$top/build/bin"

ready=$(mktemp)
"$bin/kelvara-sim" > "$ready" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -f "$ready"' EXIT
for _ in $(seq 50); do
    grep -q 'COM' "$ready" && break
    sleep 0.1
done
cat "$ready"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$bin/kelvara"
else
    shot="$top/build/kelvara-window.png"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$1" & app=$!
        sleep 6
        import -window root "$2"
        kill "$app"; wait "$app" 2>/dev/null || true' _ "$bin/kelvara" "$shot"
    echo "No display: the window ran under Xvfb; screenshot saved to $shot"
fi
