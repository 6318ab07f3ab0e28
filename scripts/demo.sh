#!/usr/bin/env bash
# The main job on the embedded defaults, from a fresh Debian 12 machine:
# installs dependencies, builds, starts a local MariaDB on 127.0.0.1:3307 with
# the program's default login (root / vabnek407), creates a small sample database
# "kelmor_ornek" and takes a headless backup of it with default settings.
# Running it again reuses the server and the data.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
export BUILD_DIR=${BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"

srv="$here/.kelmor-demo"
bash "$here/scripts/mariadb-server.sh" start "$srv" 3307 vabnek407 >/dev/null
echo "MariaDB: 127.0.0.1:3307 (data in $srv)"

MYSQL_PWD=vabnek407 mariadb --no-defaults --protocol=TCP -h127.0.0.1 -P3307 -uroot <<'SQL'
CREATE DATABASE IF NOT EXISTS kelmor_ornek CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
USE kelmor_ornek;
CREATE TABLE IF NOT EXISTS musteri (
  id INT PRIMARY KEY AUTO_INCREMENT,
  ad VARCHAR(100) NOT NULL,
  sehir VARCHAR(50),
  kayit DATETIME DEFAULT CURRENT_TIMESTAMP
);
CREATE TABLE IF NOT EXISTS siparis (
  id INT PRIMARY KEY AUTO_INCREMENT,
  musteri_id INT NOT NULL,
  tutar DECIMAL(10,2) NOT NULL,
  aciklama TEXT,
  FOREIGN KEY (musteri_id) REFERENCES musteri(id)
);
INSERT INTO musteri (id, ad, sehir) VALUES
  (1, 'Ayşe Yılmaz', 'İzmir'), (2, 'Çağrı Öztürk', 'Şanlıurfa'), (3, 'Gülşen Işık', 'Muğla')
  ON DUPLICATE KEY UPDATE ad = VALUES(ad);
INSERT INTO siparis (id, musteri_id, tutar, aciklama) VALUES
  (1, 1, 149.90, 'Çay ve şeker'), (2, 2, 1200.00, 'Ölçü aleti'), (3, 3, 35.50, 'Kağıt')
  ON DUPLICATE KEY UPDATE tutar = VALUES(tutar);
CREATE OR REPLACE VIEW siparis_ozet AS
  SELECT m.ad, SUM(s.tutar) AS toplam FROM musteri m JOIN siparis s ON s.musteri_id = m.id GROUP BY m.ad;
SQL

exe="$BUILD_DIR/app/KelmorBackup"
set +e
"$exe" /yedek kelmor_ornek
kod=$?
set -e
log="$(dirname "$exe")/kelmor_debug.log"
echo "exit code: $kod  (log: $log)"
grep -E 'BASSIZ YEDEK (OK|HATA)' "$log" | tail -n 1
exit $kod
