#!/usr/bin/env bash
# Installs what is missing, builds Folioforge and starts it (inside a virtual
# display when there is no real one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIOFORGE_BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIOFORGE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target Folioforge

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec "$build/bin/Folioforge" "$@"
else
    exec xvfb-run -a -s '-screen 0 1600x1000x24' "$build/bin/Folioforge" "$@"
fi
