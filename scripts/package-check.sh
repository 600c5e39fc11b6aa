#!/usr/bin/env bash
# Builds the Debian package, installs it, checks the installed programs (the window against
# the installed simulator under Xvfb, "Device is not found." without it), validates the desktop
# entry, the metainfo and the package, then removes the package again.
# Usage: package-check.sh [BUILD-FOLDER]   (default build/, the one test.sh builds)
source "$(dirname "$0")/common.sh"

step() { echo "== $*"; }
fail() {
    echo "package-check: $*" >&2
    exit 1
}

install_packages
missing=()
while read -r package; do
    dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed \
        || missing+=("$package")
done < "$top/scripts/packages-release.txt"
if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

dir=$(realpath -m "${1:-$top/build}")
build "$dir"
rm -f "$dir"/kelvara_*.deb
(cd "$dir" && cpack -G DEB)
deb=$(echo "$dir"/kelvara_*.deb)
echo "== $(basename "$deb"): $(du -h "$deb" | cut -f1)"
dpkg-deb -c "$deb"

step "install"
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb"
rule=/usr/lib/udev/rules.d/99-kelvara-usb-serial.rules
[ -f "$rule" ] || fail "$rule is not installed"

step "installed programs"
/usr/bin/kelvara-sim --help | head -n 1 | grep -qx 'Usage: kelvara-sim \[OPTION\]...' \
    || fail "kelvara-sim --help"
/usr/bin/kelvara-devcon --help | grep -q '^usage: kelvara-devcon find' || fail "kelvara-devcon --help"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/kelvara --version)
[ "$version" = "kelvara $(dpkg-query -W -f='${Version}' kelvara)" ] \
    || fail "kelvara --version says '$version'"
echo "$version"

# Both runs under Xvfb, on a port-link folder of their own.
step "window under Xvfb"
runtime=$(mktemp -d)
shot="$dir/kelvara-installed-window.png"
box_shot="$dir/kelvara-installed-not-found.png"
XDG_RUNTIME_DIR=$runtime timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
    # waitWindow TEXT SECONDS: the window list shows TEXT, a window name in quotes.
    waitWindow() {
        for _ in $(seq $(($2 * 10))); do
            xwininfo -root -tree | grep -qF "$1" && return 0
            sleep 0.1
        done
        return 1
    }

    # A failed check leaves neither the simulator nor the program running.
    trap "kill \$(jobs -p) 2>/dev/null || true" EXIT
    ready=$(mktemp)
    /usr/bin/kelvara-sim > "$ready" & sim=$!
    for _ in $(seq 50); do grep -q COM "$ready" && break; sleep 0.1; done
    /usr/bin/kelvara & app=$!
    waitWindow "\"Kelvara Ver." 20 || { echo "no window against the simulator" >&2; exit 1; }
    sleep 2
    import -window root "$1"
    kill "$app" "$sim" 2>/dev/null || true
    wait "$app" "$sim" || true
    rm -f "$ready"

    # Without a controller: the message box, titled "Kelvara", and no main window; OK ends it.
    /usr/bin/kelvara & app=$!
    waitWindow "\"Kelvara\": " 90 || { echo "no \"Device is not found.\" box" >&2; exit 1; }
    ! xwininfo -root -tree | grep -qF "\"Kelvara Ver." || { echo "window without controller" >&2; exit 1; }
    import -window root "$2"
    box=$(xdotool search --name "^Kelvara\$" | head -n 1)
    xdotool windowfocus --sync "$box" key Return
    status=0
    timeout 10 tail --pid="$app" -f /dev/null || { kill "$app"; echo "still running after OK" >&2; exit 1; }
    wait "$app" || status=$?
    [ "$status" -eq 1 ] || { echo "exit status $status after \"Device is not found.\"" >&2; exit 1; }
    ' _ "$shot" "$box_shot" || fail "installed program under Xvfb"
rm -rf "$runtime"
echo "screenshots: $shot, $box_shot"

step "desktop entry and metainfo"
desktop-file-validate /usr/share/applications/kelvara.desktop
# --no-net: the screenshot's URL cannot be fetched without network.
appstreamcli validate --no-net /usr/share/metainfo/io.github.kelvara.kelvara.metainfo.xml

step "lintian"
lintian --fail-on error --info "$deb"

step "remove"
as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y kelvara
[ ! -e "$rule" ] || fail "$rule is left after removal"
[ ! -e /usr/bin/kelvara ] || fail "/usr/bin/kelvara is left after removal"
# The maintainer scripts keep a removed package known to dpkg until it is purged.
as_root dpkg --purge kelvara
step "package check passed"
