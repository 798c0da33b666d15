#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors) and runs every test; then
# builds the image edition and runs its tests too.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIOFORGE_TEST_BUILD_DIR:-$root/build-test}"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/image-edition" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLIOFORGE_IMAGE_EDITION=ON -DFOLIOFORGE_WERROR=ON >/dev/null
cmake --build "$build/image-edition"
ctest --test-dir "$build/image-edition" --output-on-failure -j"$(nproc)" "$@"

cmake -S "$root" -B "$build/pdf-edition" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLIOFORGE_SANITIZE=ON -DFOLIOFORGE_WERROR=ON >/dev/null
cmake --build "$build/pdf-edition"
ctest --test-dir "$build/pdf-edition" --output-on-failure -j"$(nproc)" "$@"
