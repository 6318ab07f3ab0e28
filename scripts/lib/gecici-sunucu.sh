# Sourced by scripts that need a throwaway MariaDB server.
#
#   kelmor_gecici_sunucu SERVER_DIR [REMOVE_DIR]
#
# Starts a private server in SERVER_DIR (see scripts/mariadb-server.sh), exports
# KELMOR_TEST_HOST/PORT/USER/PASS, and stops the server and removes REMOVE_DIR
# (default SERVER_DIR) when the calling script exits, also on failure or Ctrl-C.
kelmor_gecici_sunucu() {
  _kelmor_sunucu=$1
  _kelmor_silinecek=${2:-$1}
  _kelmor_betikler=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  trap '_kelmor_gecici_sunucu_temizle' EXIT
  trap 'exit 130' INT TERM HUP
  set -a
  # shellcheck disable=SC1090
  source <(bash "$_kelmor_betikler/mariadb-server.sh" start "$_kelmor_sunucu")
  set +a
}

_kelmor_gecici_sunucu_temizle() {
  bash "$_kelmor_betikler/mariadb-server.sh" stop "$_kelmor_sunucu" >/dev/null 2>&1 || true
  rm -rf "$_kelmor_silinecek"
}
