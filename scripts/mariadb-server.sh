#!/usr/bin/env bash
# Starts or stops a private MariaDB server that lives entirely in one folder.
#
#   mariadb-server.sh start DIR [PORT] [PASSWORD]   (PORT 0 or empty: a free port)
#   mariadb-server.sh stop DIR
#   mariadb-server.sh env DIR                        (prints the KELMOR_TEST_* lines)
#
# The server listens on 127.0.0.1 only, its socket and pid file stay inside DIR,
# and root gets the given password for TCP logins. Works as root and as an
# ordinary user. Starting a server that already runs in DIR does nothing.
set -euo pipefail

cmd=${1:?start|stop|env}
dir=${2:?folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
data="$dir/data"
sock="$dir/mysqld.sock"
pidf="$dir/mysqld.pid"

find_bin() { for b in "$@"; do command -v "$b" 2>/dev/null && return 0; [ -x "/usr/sbin/$b" ] && { echo "/usr/sbin/$b"; return 0; }; done; return 1; }

running() { [ -f "$pidf" ] && kill -0 "$(cat "$pidf")" 2>/dev/null; }

free_port() {
  python3 - <<'PY' 2>/dev/null || echo $((20000 + RANDOM % 20000))
import socket
s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()
PY
}

case "$cmd" in
start)
  port=${3:-0}
  pass=${4:-kelmor_test_pw}
  if running; then
    echo "server already running in $dir" >&2
    exit 0
  fi
  [ "$port" = 0 ] && port=$(free_port)
  mariadbd=$(find_bin mariadbd mysqld) || { echo "mariadbd not found" >&2; exit 1; }
  userarg=()
  [ "$(id -u)" -eq 0 ] && userarg=(--user=root)
  if [ ! -d "$data/mysql" ]; then
    rm -rf "$data"
    installdb=$(find_bin mariadb-install-db mysql_install_db) || { echo "mariadb-install-db not found" >&2; exit 1; }
    "$installdb" --no-defaults --datadir="$data" "${userarg[@]}" \
      --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 ||
      { cat "$dir/install.log" >&2; exit 1; }
  fi
  # Runs at every start: gives root the password for every host and removes anonymous users.
  cat >"$dir/init.sql" <<SQL
DELETE FROM mysql.global_priv WHERE User='';
FLUSH PRIVILEGES;
CREATE USER IF NOT EXISTS 'root'@'%';
ALTER USER 'root'@'%' IDENTIFIED BY '$pass';
ALTER USER IF EXISTS 'root'@'localhost' IDENTIFIED BY '$pass';
ALTER USER IF EXISTS 'root'@'127.0.0.1' IDENTIFIED BY '$pass';
ALTER USER IF EXISTS 'root'@'::1' IDENTIFIED BY '$pass';
GRANT ALL PRIVILEGES ON *.* TO 'root'@'%' WITH GRANT OPTION;
FLUSH PRIVILEGES;
SQL
  chmod 600 "$dir/init.sql"
  "$mariadbd" --no-defaults "${userarg[@]}" --datadir="$data" --socket="$sock" \
    --pid-file="$pidf" --port="$port" --bind-address=127.0.0.1 --skip-name-resolve \
    --init-file="$dir/init.sql" --log-error="$dir/error.log" \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
    --innodb-buffer-pool-size=256M --innodb-log-file-size=256M \
    --max-allowed-packet=256M --event-scheduler=OFF >/dev/null 2>&1 </dev/null &
  client=$(find_bin mariadb mysql) || { echo "mariadb client not found" >&2; exit 1; }
  for i in $(seq 1 300); do
    if "$client" --no-defaults --protocol=TCP -h127.0.0.1 -P"$port" -uroot -p"$pass" -e 'SELECT 1' >/dev/null 2>&1; then
      printf 'KELMOR_TEST_HOST=127.0.0.1\nKELMOR_TEST_PORT=%s\nKELMOR_TEST_USER=root\nKELMOR_TEST_PASS=%s\nKELMOR_TEST_SOCKET=%s\n' \
        "$port" "$pass" "$sock" >"$dir/server.env"
      cat "$dir/server.env"
      exit 0
    fi
    if ! running && [ "$i" -gt 20 ]; then break; fi
    sleep 0.2
  done
  echo "MariaDB did not start; its error log:" >&2
  tail -n 40 "$dir/error.log" >&2 || true
  exit 1
  ;;
stop)
  if running; then
    pid=$(cat "$pidf")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  ;;
env)
  cat "$dir/server.env"
  ;;
*)
  echo "usage: $0 start|stop|env DIR [PORT] [PASSWORD]" >&2
  exit 2
  ;;
esac
