#!/usr/bin/env bash
# Installs what it needs, configures, builds (assets included) and runs the whole test suite headless,
# so that it works first on a fresh machine too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
