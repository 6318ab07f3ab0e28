#!/usr/bin/env bash
# The whole test suite on a fresh Debian 12 machine: installs dependencies, builds,
# starts a private MariaDB server on a free loopback port, runs every test, and
# stops and removes the server again, also when a test fails or the run is interrupted.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
export BUILD_DIR=${BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"

# shellcheck source=lib/gecici-sunucu.sh
source "$here/scripts/lib/gecici-sunucu.sh"
kelmor_gecici_sunucu "$(mktemp -d "${TMPDIR:-/tmp}/kelmor-test-db.XXXXXX")"
echo "test server: $KELMOR_TEST_HOST:$KELMOR_TEST_PORT"

export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 900 "$@"
