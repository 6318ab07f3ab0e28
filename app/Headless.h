#pragma once
#include <QString>
#include <QStringList>

// "/yedek <db>": one full backup with the stored settings, then only the ten newest
// backups of that database are kept. Returns the exit code: 0 ok, 1 failed, 2 no name.
int BassizYedek(const QString& dbAdi);
void EskiYedekleriSil(const QString& klasor, const QString& dbAdi, int tutulacak);

// What the command line asks for.
enum class KomutModu { Pencereli, Yedek, GeriYukle };
KomutModu KomutModuBul(const QStringList& argumanlar);
