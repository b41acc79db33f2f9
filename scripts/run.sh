#!/usr/bin/env bash
# Builds Vaelo and starts the reader on its built-in book. Extra arguments go to the reader.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/deps.sh"
build=$here/build
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vaelo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<MSG
No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the reader has nowhere to
show its window. Run it anyway in one of these ways:
  xvfb-run -a -s "-screen 0 1024x768x24" $build/vaelo        (a virtual display)
  QT_QPA_PLATFORM=vnc:size=1024x768 $build/vaelo             (then connect a VNC viewer to port 5900)
MSG
    exit 1
fi
exec "$build/vaelo" "$@"
