#!/usr/bin/env bash
# Start-up to the first painted main window and peak memory, the reader beside the smallest Qt
# Widgets program that shows one window, in one run under a virtual display.
# Usage: bench/startup.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
command -v hyperfine >/dev/null || { echo "needs hyperfine (apt-get install hyperfine)"; exit 1; }
reader=$build/bench/vaelo_bench_first_paint
minimal=$build/bench/vaelo_bench_minimal_window
export XDG_CONFIG_HOME=$(mktemp -d) XDG_RUNTIME_DIR=$(mktemp -d)
run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}
run bash -c "hyperfine -N --warmup 3 --runs 20 '$minimal' '$reader'
for p in '$minimal' '$reader'; do
    /usr/bin/time -f \"\$(basename \$p): peak RSS %M KiB\" \$p
done"
