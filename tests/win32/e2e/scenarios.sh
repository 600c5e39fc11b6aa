#!/bin/bash
# One end-to-end scenario of kelvara.exe under Wine: scenarios.sh NAME. Run by CTest inside
# xvfb-run, with KELVARA_EXE, KELVARA_DRIVER, KELVARA_FAKE_DEVCON, KELVARA_SIM, KELVARA_UI and
# KELVARA_E2E_PREFIX set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/win32/e2e/e2e_rig.sh
source "$here/e2e_rig.sh"

check() { python3 "$here/layout_check.py" "$@"; }

# The simulator on COM3 as the only port, and the window started against it.
start_window() {
    start_sim 3 --noise 0 "$@"
    tty=$sim_tty
    map_ports 3 "$tty"
    drive shown
}

# At 96, 120, 144 and 192 dpi: two starts, each followed by the change of DPI that a move to
# another monitor brings.
scenario_layout() {
    start_window
    drive attach dump menu-self >"$work/96.txt"
    drive attach dpi 192 dump menu-self close exits 10000 >"$work/192.txt"
    set_dpi 144
    drive shown dump menu-self >"$work/144.txt"
    drive attach dpi 120 dump menu-self close exits 10000 >"$work/120.txt"
    for dpi in 96 192 144 120; do
        check layout "$KELVARA_UI" "$work/$dpi.txt" "$dpi" || fail "the layout at $dpi dpi"
    done
}

# The scan passes over a silent COM2, finds COM3 and reads its calibration.
scenario_startup() {
    local silent
    start_sim 2 --silent
    silent=$sim_tty
    start_sim 3 --noise 0
    tty=$sim_tty
    wire "$tty" "W12,1234" >/dev/null
    map_ports 2 "$silent" 3 "$tty"
    drive shown expect Text21 0.1234 expect Text22 0.0501 expect Text1 2.0 expect Text3 50 \
        expect Text9 "" expect Text13 "" no-message close exits 10000
}

scenario_status() {
    start_window
    sim_control 3 "flags 1000000000001"
    drive attach click Command6 expect Text12_0 0 expect Text12_1 1 expect Text12_10 1 \
        expect Text13 1 expect Text14 0 no-message close exits 10000
}

scenario_monitor() {
    start_window
    sim_control 3 "counts 512 1024 100"
    drive attach click Command5 expect Text9 10.911 expect Text10 1.111 \
        expect Text11 "5.481 (2.7)" menu IntervalStart expect Text14 1
    sim_control 3 "flag 12 1"
    drive attach expect Text14 0 menu IntervalStop set Text14 "" sleep 500 expect Text14 "" \
        no-message close exits 10000
}

# What the boxes show goes to the controller's registers, checked on the wire afterwards.
write_and_read_back() {
    start_window
    drive attach click Command1 expect Text1 2.0 expect Text3 50 expect Text17 0.1640 \
        set Text1 2.05 set Text3 80.5 set Text18 0.00005 click Command3 no-message "$@" \
        close exits 10000
    [ "$(wire "$tty" R0)" = "R20.5;" ] || fail "R0 holds $(wire "$tty" R0)"
    [ "$(wire "$tty" R2)" = "R805;" ] || fail "R2 holds $(wire "$tty" R2)"
    [ "$(wire "$tty" R9)" = "R.5;" ] || fail "R9 holds $(wire "$tty" R9)"
}

scenario_eeprom() { write_and_read_back; }

# A German desktop writes 20,5; the wire must still carry 20.5.
scenario_german_locale() {
    export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
    write_and_read_back
    expect_line $'^decimal-separator\t,$' "$work/driver.log"
}

# The step buttons stop at their bounds: kV between Text5 and Text3, mA between Text6 and Text4.
scenario_stepper() {
    start_window
    drive attach click KV_DN expect Text7 10 click KV_UP expect Text7 11 set Text7 50 \
        click KV_UP expect Text7 50 click KV_DN expect Text7 49 click mA_DN expect Text8 2 \
        set Text8 30 click mA_UP expect Text8 30 no-message close exits 10000
}

scenario_no_device() {
    map_ports
    drive dialog hidden message "Device is not found." exits 10000
    expect_line $'^message\tKelvara\tDevice is not found.$' "$work/driver.log"
    expect_line $'^exit-code\t1$' "$work/driver.log"
}

# A controller that falls silent: resends, the adapter reset through devcon.exe, reopening,
# more resends, then the final message; every flag is raised.
scenario_silent_road() {
    start_window
    sim_control 3 "silent on"
    drive attach press Command6 message "The abnormality by the noise occurred." \
        expect Text12_0 1 expect Text14 1 close exits 10000
    check devcon "$app"
}

# A technician without administrator rights: devcon.exe refuses the reset (exit status 2), and
# after the final message one warning says so. Without devcon.exe the reset runs built in; under
# Wine no device node carries the port, so it ends at once.
scenario_adapter_rights() {
    local noise="The abnormality by the noise occurred."
    local rights="The USB adapter of COM3 could not be reset: this needs administrator rights."
    local runs
    start_window
    touch "$app/fake-devcon.denied"
    sim_control 3 "silent on"
    drive attach press Command6 message "$noise" message "$rights" sleep 500 no-message \
        close exits 10000
    runs=$(tr -d '\r' <"$app/fake-devcon.log")
    grep -q '^disable @USB\\VID_1A86&PID_7523\\SIM3$' <<<"$runs" ||
        fail "device console runs $(tr '\n' '|' <<<"$runs")"
    ! grep -q '^enable ' <<<"$runs" || fail "a refused reset went on"
    rm "$app/devcon.exe" "$WINEPREFIX/drive_c/users/Public/reset.log" 2>/dev/null || true
    sim_control 3 "silent off"
    drive args '--trace C:\users\Public\reset.log --port 3' shown
    sim_control 3 "silent on"
    drive attach press Command6 message "$noise" sleep 500 no-message close exits 10000
    expect_line ' built-in reset of COM3$' "$WINEPREFIX/drive_c/users/Public/reset.log"
}

# Closing ends every wait at once: a transaction's, the password box's, a monitoring tick's,
# a message box's.
scenario_close_in_wait() {
    start_window
    sim_control 3 "silent on"
    drive attach press Command1 sleep 300 close exits 2500
    [ ! -e "$app/fake-devcon.log" ] || fail "the device console ran"
    sim_control 3 "silent off"
    # Under Wine without a window manager a dialog takes about 2 s to give way.
    drive shown menu-post AD_Calibration dialog close exits 5000
    drive shown menu IntervalStart sleep 700 close exits 2500
    # The warning that a value too large for the register was not written.
    drive shown set Text1 1e308 press Command3 dialog close exits 5000
    [ "$(grep -c $'^exit-code\t0$' "$work/driver.log")" -eq 4 ] || fail "an unclean end"
}

# A laptop at 125 %: the window keeps inside the screen, and the status READ button and, once
# the password is given, the calibration frame's EEPROM READ are reached by Tab and by the
# scroll bars.
scenario_small_screen() {
    start_sim 3 --noise 0
    map_ports 3 "$sim_tty"
    sim_control 3 "flags 1000000000001"
    set_dpi 120
    drive shown in-work-area in-view Command6 no tab-to Command6 in-view Command6 yes \
        set Text12_0 "" click Command6 expect Text12_0 0 \
        scroll-home in-view Command6 no scroll-to Command6 set Text12_0 "" click Command6 \
        expect Text12_0 0 menu-post AD_Calibration input qvx visible Frame6 \
        in-view Command8 no tab-to Command8 in-view Command8 yes set Text21 "" click Command8 \
        expect Text21 0.0861 scroll-home in-view Command8 no scroll-to Command8 \
        set Text21 "" click Command8 expect Text21 0.0861 no-message close exits 10000
}

# Tab visits the boxes and buttons in tab-index order, skipping the hidden frames, until the
# calibration frame is revealed.
# --trace, --record and --port, their paths in UTF-8: two monitoring ticks in the record, every
# transaction in the trace; a trace folder that does not exist is reported and the window
# works on.
scenario_diagnostics() {
    local silent public=$WINEPREFIX/drive_c/users/Public
    start_sim 2 --silent
    silent=$sim_tty
    start_sim 3 --noise 0
    map_ports 2 "$silent" 3 "$sim_tty"
    rm -f "$public/trace ü.log" "$public/record.csv"
    drive args '--trace "C:\users\Public\trace ü.log" --record C:\users\Public\record.csv --port 3' \
        shown menu IntervalStart sleep 400 menu IntervalStop no-message close exits 10000
    expect_line '^[0-9-]{10} [0-9:.]{12} probe COM3 answered "E0(,0){12};"$' "$public/trace ü.log"
    expect_line ' COM3 send "S1\\r\\n"$' "$public/trace ü.log"
    expect_line ' E complete$' "$public/trace ü.log"
    ! grep -q COM2 "$public/trace ü.log" || fail "COM2 was probed"
    expect_line '^time,KV,mA,FIL,XRAY_STATUS,' "$public/record.csv"
    expect_line $'^[0-9-]{10} [0-9:.]{12}(,[^,]+){3}(,[01]){13}\r$' "$public/record.csv"
    drive args '--trace C:\nowhere\trace.log --port 3' \
        message 'Trace file C:\nowhere\trace.log cannot be opened: No such file or directory. The program runs on without a trace.' \
        shown click Command6 expect Text12_0 1 no-message close exits 10000
}

scenario_tab_walk() {
    start_window
    drive attach tabs 40 >"$work/walk.txt"
    check tabs "$KELVARA_UI" "$work/walk.txt"
    drive attach menu-post AD_Calibration input qvx sleep 2500 tabs 44 close exits 10000 \
        >"$work/walk6.txt"
    check tabs "$KELVARA_UI" "$work/walk6.txt" Frame6
}

# The "Password?" box opened while the window is idle, then monitoring started from inside it
# with the controller silent: the tick waits inside the box, and the keys typed now pass
# through the tick's wait. Tab, Enter and Esc work there as they do outside a wait.
password_box_during_tick() {
    drive attach menu-post AD_Calibration dialog
    sim_control 3 "silent on"
    drive attach menu-post IntervalStart sleep 500 "$@"
    sim_control 3 "silent off"
    drive attach menu IntervalStop sleep 3500 no-message
}

scenario_dialog_keys() {
    start_window
    password_box_during_tick key qvx key Tab focus-text OK key Return dialog-closes 2000
    drive attach visible Frame6
    password_box_during_tick key Escape dialog-closes 2000
    drive attach close exits 10000
}

# The adapter pulled during monitoring (its line goes away): one box in the lost link's words,
# every flag raised and the monitor boxes emptied, no more boxes while it stays away; the
# adapter back on the same port name and the readings come back by themselves.
scenario_lost_port() {
    # Every flag set: the boxes show "0" while the readings are live.
    local controller=(--noise 0 --counts 512,1024,100 --flags 1111111111111)
    local trace=$WINEPREFIX/drive_c/users/Public/lost.log
    start_sim 3 "${controller[@]}"
    ln -s "$sim_tty" "$work/line3"
    map_ports 3 "$work/line3"
    rm -f "$trace"
    drive args '--trace C:\users\Public\lost.log' shown menu IntervalStart expect Text9 10.911 expect Text14 0
    # Its name goes with the adapter; a pseudo-terminal freed here may be taken by anyone.
    sim_control 3 quit
    rm "$work/line3"
    drive attach message "the link to the controller was lost: the USB adapter was unplugged or stopped answering. Reconnect it; Kelvara reconnects by itself." \
        expect Text14 1 expect Text12_0 1 expect Text9 "" sleep 1500 no-message
    start_sim 3 "${controller[@]}"
    ln -s "$sim_tty" "$work/line3"
    drive attach expect Text9 10.911 expect Text14 0 no-message close exits 10000 ||
        fail "$(tail -20 "$trace")"
    expect_line $'^message\tKelvara\tCOM3: [^:]+: the link to the controller was lost' "$work/driver.log"
    [ "$(grep -c $'^message\t' "$work/driver.log")" -eq 1 ] || fail "more than one box"
    expect_line ' COM3 lost: each command tries to reopen it$' "$trace"
    expect_line ' COM3 is back: the link works again$' "$trace"
}

# The installer, per user: the program and its Start-menu entry, the installed program against
# the simulator, and nothing left behind once it is removed. winemenubuilder stays off, so that
# the host's own menus are not touched.
scenario_installer() {
    local user installed shortcut
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    start_sim 3 --noise 0
    map_ports 3 "$sim_tty"
    user=$("$wine" cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r')
    installed=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Kelvara
    shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvara.lnk"
    "$wine" msiexec /i "$KELVARA_MSI" /qn || fail "msiexec /i ended with $?"
    [ -f "$installed/kelvara.exe" ] || fail "no kelvara.exe in $installed"
    [ -f "$installed/README.md" ] && [ -f "$installed/LICENSE" ] || fail "README or LICENSE missing"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    "$wine" uninstaller --list 2>/dev/null | grep -q Kelvara || fail "not under installed programs"
    "$wine" "$KELVARA_DRIVER" "C:\\users\\$user\\AppData\\Local\\Programs\\Kelvara\\kelvara.exe" \
        shown expect Text21 0.0861 no-message close exits 10000 \
        >"$work/step.out" 2>/dev/null || fail "the installed program did not run against COM3"
    "$wine" msiexec /x "$KELVARA_MSI" /qn || fail "msiexec /x ended with $?"
    [ ! -e "$installed" ] || fail "$installed is left behind: $(ls "$installed")"
    [ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left behind"
    ! "$wine" uninstaller --list 2>/dev/null | grep -q Kelvara || fail "still under installed programs"
    ! "$wine" reg query 'HKCU\Software\Kelvara' >/dev/null 2>&1 || fail "HKCU\Software\Kelvara is left behind"
}

# kelvara-cli.exe: the board swap of the README, under Wine against the simulator.
scenario_cli() {
    local file status
    start_sim 3 --noise 0 --no-pacing
    map_ports 3 "$sim_tty"
    file="Z:${work//\//\\}\\board ü.txt"
    run_cli() {
        status=0
        "$wine" "$KELVARA_CLI" --port 3 "$@" >"$work/cli.raw" 2>&1 || status=$?
        tr -d '\r' <"$work/cli.raw" >"$work/cli.out"
    }
    run_cli params save "$file"
    [ "$status" -eq 0 ] || fail "save ended with $status: $(cat "$work/cli.out")"
    sim_control 3 "register 2 810"
    sim_control 3 "register 9 -3"
    run_cli params diff "$file"
    [ "$status" -eq 1 ] || fail "diff ended with $status: $(cat "$work/cli.out")"
    expect_line '^KV_MAX: file 500 \(50\), controller 810 \(81\)$' "$work/cli.out"
    expect_line '^KV_OFFSET: file 1 \(0.0001\), controller -3 \(-0.0003\)$' "$work/cli.out"
    run_cli params restore "$file"
    [ "$status" -eq 0 ] || fail "restore ended with $status: $(cat "$work/cli.out")"
    [ "$(grep -c 'written, verified$' "$work/cli.out")" -eq 2 ] || fail "not two writes verified"
    run_cli params diff "$file"
    [ "$status" -eq 0 ] || fail "the board differs after the restore: $(cat "$work/cli.out")"
}

# Not a test: the window as the docs show it, drawn by scripts/screenshots.sh into FOLDER at
# 96 and 144 dpi.
scenario_screenshots() {
    local folder=$1 dpi x y width height
    start_sim 3 --noise 0
    map_ports 3 "$sim_tty"
    # No window manager here: Wine draws the title bar itself.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    for dpi in 96 144; do
        set_dpi "$dpi"
        drive shown sleep 1000 in-work-area >"$work/shot.txt"
        read -r x y width height < <(awk '$1 == "window" { print $2, $3, $4, $5 }' "$work/shot.txt")
        import -window root -crop "${width}x${height}+$x+$y" "$folder/windows-window-${dpi}dpi.png"
        drive attach close exits 10000 >/dev/null
    done
    "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Decorated /f >/dev/null 2>&1
}

ensure_prefix
"scenario_${1//-/_}" "${@:2}"
echo "PASS: $1"
