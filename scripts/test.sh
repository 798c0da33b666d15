#!/usr/bin/env bash
# Installs what is missing, builds everything once with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors) and runs every test. The
# tests that depend on the edition are linked once per edition in that one
# build, so both editions are tested.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIOFORGE_TEST_BUILD_DIR:-$root/build-test}"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLIOFORGE_SANITIZE=ON -DFOLIOFORGE_WERROR=ON >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
