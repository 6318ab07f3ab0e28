#!/usr/bin/env bash
# Renders every window and every wizard page to PNG (offscreen) into
# ${BUILD_DIR:-build}/render. The wizards run a real backup and restore, so a
# private MariaDB server is started unless KELMOR_TEST_* already name one;
# with --no-server the wizard pages are only turned to.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
[ -f "$BUILD_DIR/CMakeCache.txt" ] || bash "$here/scripts/build.sh"
cmake --build "$BUILD_DIR" --target kelmor_render -j"$(nproc)"

out="$BUILD_DIR/render"
rm -rf "$out"
mkdir -p "$out"

if [ "${1:-}" = "--no-server" ]; then
  unset KELMOR_TEST_HOST KELMOR_TEST_PORT KELMOR_TEST_USER KELMOR_TEST_PASS
elif [ -z "${KELMOR_TEST_HOST:-}" ]; then
  # shellcheck source=lib/gecici-sunucu.sh
  source "$here/scripts/lib/gecici-sunucu.sh"
  kelmor_gecici_sunucu "$(mktemp -d "${TMPDIR:-/tmp}/kelmor-render-db.XXXXXX")"
fi

QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tests/ui/render/kelmor_render" "$out"
echo "pictures in $out"
