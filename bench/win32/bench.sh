#!/bin/bash
# Benchmarks of kelvara.exe under Wine against kelvara-sim on COM3 (wire pacing): start-up to
# window shown, five runs; then 30 s of interval monitoring. Run inside xvfb-run with the
# variables of tests/win32/e2e/scenarios.sh and KELVARA_BENCH (monitoring_bench.exe).
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
