#pragma once
#include <QByteArray>
#include <QString>

// Files and folders in a shared temporary folder that nobody else can plant or read:
// always created new (never an existing file, never through a symbolic link),
// readable by the owner only. The name is prefix + tick count + suffix; when that
// name is taken, "_1", "_2", ... go before the suffix.

// Creates the file and writes `icerik` into it. `yol` is set as soon as the file
// exists, so the caller can delete it even when writing fails.
bool YeniGeciciDosyaYaz(const QString& klasor, const QString& onek, const QString& sonek,
                        const QByteArray& icerik, QString& yol, QString& hata);

// Creates a new folder (mode 0700) named prefix + tick count.
bool YeniGeciciKlasor(const QString& klasor, const QString& onek, QString& yol, QString& hata);
