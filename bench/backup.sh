#!/usr/bin/env bash
# Backup benchmark: what the program costs on top of the dump tool, and how its
# ZIP packing compares with zip and pigz on the same dump.
#
#   bench/backup.sh [SIZE_MB] [RUNS]
#
# SIZE_MB  approximate size of the dump to build (default 500)
# RUNS     timed runs of each dump variant; the best one counts (default 2)
#
# Starts a private MariaDB server of its own (scripts/mariadb-server.sh), fills a
# sample database, then prints side by side:
#   - bare "mariadb-dump ... > f.sql" vs "KelmorBackup /yedek" with ZipYap=0
#     (same options, same server; goal: at most 1.03x)
#   - our packing of that .sql (deflate + read-back check) vs zip -6 and pigz -6
# Uses ${BUILD_DIR:-build}/app/KelmorBackup (built when missing). Everything it
# makes lives in one temporary folder that is removed at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
size_mb=${1:-500}
runs=${2:-2}
build=${BUILD_DIR:-$here/build}

if [ ! -x "$build/app/KelmorBackup" ]; then
  BUILD_DIR=$build bash "$here/scripts/build.sh" >/dev/null
fi
for t in zip pigz /usr/bin/time; do
  command -v "$t" >/dev/null || { echo "missing: $t (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kelmor-bench.XXXXXX")
srv="$work/srv"
# shellcheck source=../scripts/lib/gecici-sunucu.sh
source "$here/scripts/lib/gecici-sunucu.sh"
kelmor_gecici_sunucu "$srv" "$work"

now() { date +%s.%N; }
secs() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
mb() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1048576 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }'; }
fsize() { stat -c %s "$1"; }

# The client reads its credentials from an option file, as the program's own runs do.
cnf="$work/client.cnf"
printf '[client]\nhost=%s\nport=%s\nuser=%s\npassword="%s"\nprotocol=TCP\n' \
  "$KELMOR_TEST_HOST" "$KELMOR_TEST_PORT" "$KELMOR_TEST_USER" "$KELMOR_TEST_PASS" >"$cnf"
chmod 600 "$cnf"
sql() { mariadb --defaults-extra-file="$cnf" "$@"; }

# ---- sample data: about 220 bytes of dump per row, Turkish text, some variety ----
db=bench_db
rows=$(awk -v m="$size_mb" 'BEGIN { printf "%d", m * 1048576 / 220 }')
batch=200000
echo "building $db: ~${size_mb} MB, $rows rows ..."
t0=$(now)
sql -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db CHARACTER SET utf8mb4;
  CREATE TABLE $db.musteri (id BIGINT PRIMARY KEY, ad VARCHAR(60), sehir VARCHAR(30), bakiye DECIMAL(12,2),
    notlar TEXT, kayit DATETIME) ENGINE=InnoDB;"
done_rows=0
while [ "$done_rows" -lt "$rows" ]; do
  n=$((rows - done_rows < batch ? rows - done_rows : batch))
  sql "$db" -e "INSERT INTO musteri SELECT seq + $done_rows, CONCAT('Müşteri ', seq + $done_rows),
      ELT(1 + (seq % 6), 'İstanbul', 'Ankara', 'İzmir', 'Iğdır', 'Muş', 'Çanakkale'),
      ((seq * 7919) % 1000000) / 100,
      CONCAT(MD5(seq + $done_rows), ' ', REPEAT('ığüşöç ', 1 + seq % 10), SHA1(seq)),
      '2020-01-01' + INTERVAL (seq + $done_rows) MINUTE
    FROM seq_1_to_$n;"
  done_rows=$((done_rows + n))
done
t1=$(now)
echo "  built in $(secs "$t0" "$t1") s"

# ---- the program next to its settings; ZipYap=0 so it only dumps ----
exe_dir="$work/exe"
mkdir -p "$exe_dir" "$work/yedek" "$work/tmp"
cp "$build/app/KelmorBackup" "$exe_dir/"
scrambled=$(KELMOR_PW="$KELMOR_TEST_PASS" python3 -c '
import base64, os
k = b"MervoQuantil4817^&*"
p = os.environ["KELMOR_PW"].encode()
print(base64.b64encode(bytes(c ^ k[i % len(k)] for i, c in enumerate(p))).decode())')
write_ini() {
  cat >"$exe_dir/ayarlar.ini" <<EOF
[Baglanti]
Host=$KELMOR_TEST_HOST
Port=$KELMOR_TEST_PORT
Kullanici=$KELMOR_TEST_USER
Sifre=$scrambled
BinYolu=/usr/bin
[Yedek]
Klasor=$work/yedek
ZipYap=$1
EOF
}
write_ini 0
opts=(--single-transaction --quick --no-create-db --default-character-set=utf8mb4 --set-charset
  --routines --triggers --events)

# Log time stamps (hh:mm:ss.zzz) in milliseconds, for the first line matching a pattern.
ms_of() { awk -F' [|] ' -v pat="$1" '$0 ~ pat { split($1, t, "[:.]"); print ((t[1] * 60 + t[2]) * 60 + t[3]) * 1000 + t[4]; exit }' "$exe_dir/kelmor_debug.log"; }
ms_diff() { awk -v a="$1" -v b="$2" 'BEGIN { d = b - a; if (d < 0) d += 86400000; printf "%.2f", d / 1000 }'; }
median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
minimum() { tr ' ' '\n' | grep -v '^$' | sort -g | head -1; }

bare_t="" ours_t="" own_t="" rss_ours=0 bare_size=0 ours_size=0
run_bare() {
  rm -f "$work/bare.sql"
  sync
  local a b
  a=$(now)
  mariadb-dump --defaults-extra-file="$cnf" "${opts[@]}" "$db" >"$work/bare.sql"
  b=$(now)
  t_bare=$(secs "$a" "$b")
  bare_size=$(fsize "$work/bare.sql")
  rm -f "$work/bare.sql"
}
run_ours() {
  rm -f "$work"/yedek/*
  sync
  local a b tool
  a=$(now)
  TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/rss" \
    "$exe_dir/KelmorBackup" /yedek "$db" || { echo "KelmorBackup failed:"; tail -5 "$exe_dir/kelmor_debug.log"; exit 1; }
  b=$(now)
  t_ours=$(secs "$a" "$b")
  # What the program spends outside the dump tool: the whole run minus the tool's run.
  tool=$(ms_diff "$(ms_of '[|] Komut: ')" "$(ms_of 'Process bitti')")
  own=$(awk -v a="$t_ours" -v b="$tool" 'BEGIN { printf "%.2f", a - b }')
  rss_ours=$(cat "$work/rss")
  ours_size=$(fsize "$work"/yedek/*.sql)
}
for r in $(seq 1 "$runs"); do
  # Alternate who goes first, so that neither always meets a warmer cache.
  if [ $((r % 2)) = 1 ]; then run_bare; run_ours; else run_ours; run_bare; fi
  bare_t="$bare_t $t_bare" ours_t="$ours_t $t_ours" own_t="$own_t $own"
  echo "  run $r: bare $t_bare s, ours $t_ours s (of which outside the dump tool: $own s)"
done
best_bare=$(echo "$bare_t" | minimum) best_ours=$(echo "$ours_t" | minimum)
med_bare=$(echo "$bare_t" | median) med_ours=$(echo "$ours_t" | median) med_own=$(echo "$own_t" | median)
sqlfile="$work/dump.sql"
mv "$work"/yedek/*.sql "$sqlfile"

# ---- packing the same .sql: ours (from the program's own log), zip -6, pigz -6 ----
# Our packing runs inside a backup with ZipYap=1; the log lines around it give its time.
write_ini 1
rm -f "$work"/yedek/*
TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/rss_zip" \
  "$exe_dir/KelmorBackup" /yedek "$db" >/dev/null
rss_zip=$(cat "$work/rss_zip")
ours_zip_s=$(ms_diff "$(ms_of 'ZIP olusturuluyor')" "$(ms_of 'ZIP tamam')")
ours_zip=$(ls "$work"/yedek/*.zip)
ours_zip_size=$(fsize "$ours_zip")

a=$(now); (cd "$(dirname "$sqlfile")" && zip -q -6 "$work/zip6.zip" "$(basename "$sqlfile")"); b=$(now)
zip_s=$(secs "$a" "$b"); zip_size=$(fsize "$work/zip6.zip")
a=$(now); pigz -6 -c "$sqlfile" >"$work/pigz6.gz"; b=$(now)
pigz_s=$(secs "$a" "$b"); pigz_size=$(fsize "$work/pigz6.gz")
sql_size=$(fsize "$sqlfile")

echo
echo "dump: $(mb "$sql_size") MB of SQL, $rows rows; $(nproc) cores; $runs runs each"
printf '%-36s %9s %9s %10s\n' "" "best s" "median s" "MB"
printf '%-36s %9s %9s %10s\n' "mariadb-dump > f.sql" "$best_bare" "$med_bare" "$(mb "$bare_size")"
printf '%-36s %9s %9s %10s\n' "KelmorBackup /yedek (ZipYap=0)" "$best_ours" "$med_ours" "$(mb "$ours_size")"
echo "  ratio ours/bare: best $(ratio "$best_ours" "$best_bare"), median $(ratio "$med_ours" "$med_bare")"
echo "  time outside the dump tool (start, settings, log, option file; median): $med_own s" \
  "= $(ratio "$med_own" "$med_bare") of the bare dump"
echo "  peak memory of KelmorBackup: $((rss_ours / 1024)) MB (ZipYap=0), $((rss_zip / 1024)) MB (ZipYap=1)"
echo
printf '%-36s %9s %10s %8s\n' "packing $(mb "$sql_size") MB" "seconds" "MB" "size %"
printf '%-36s %9s %10s %8s\n' "ours (deflate 6 + read-back check)" "$ours_zip_s" "$(mb "$ours_zip_size")" "$(awk -v a="$ours_zip_size" -v b="$sql_size" 'BEGIN{printf "%.1f", 100*a/b}')"
printf '%-36s %9s %10s %8s\n' "zip -6" "$zip_s" "$(mb "$zip_size")" "$(awk -v a="$zip_size" -v b="$sql_size" 'BEGIN{printf "%.1f", 100*a/b}')"
printf '%-36s %9s %10s %8s\n' "pigz -6 ($(nproc) threads)" "$pigz_s" "$(mb "$pigz_size")" "$(awk -v a="$pigz_size" -v b="$sql_size" 'BEGIN{printf "%.1f", 100*a/b}')"
echo "  time ratio ours/zip: $(ratio "$ours_zip_s" "$zip_s"), ours/pigz: $(ratio "$ours_zip_s" "$pigz_s")"
