#!/bin/bash
# Benchmarks of kelvara.exe under Wine against kelvara-sim on COM3 (wire pacing): start-up to
# window shown, five runs; then 30 s of interval monitoring by the window, and beside it 30 s
# of the floor (floor_bench.exe: only a tick's exchanges and waits) on the same line; with
# KELVARA_LINUX_BENCH (the Linux kelvara_bench), the Linux window's 30 s after them. Run inside
# xvfb-run with the variables of tests/win32/e2e/scenarios.sh and KELVARA_BENCH
# (monitoring_bench.exe).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/win32/e2e/e2e_rig.sh
source "$here/../../tests/win32/e2e/e2e_rig.sh"
ensure_prefix
start_sim 3
map_ports 3 "$sim_tty"
for _ in 1 2 3 4 5; do
    drive shown close exits 10000 | grep shown-ms
done
"$wine" "$KELVARA_BENCH" 2>/dev/null | tr -d '\r'
"$wine" "$(dirname "$KELVARA_BENCH")/floor_bench.exe" 2>/dev/null | tr -d '\r'
if [ -n "${KELVARA_LINUX_BENCH:-}" ]; then
    QT_QPA_PLATFORM=offscreen "$KELVARA_LINUX_BENCH" \
        --benchmark_filter='BM_IntervalMonitoring/diagnostics:0' 2>/dev/null | grep BM_
fi
