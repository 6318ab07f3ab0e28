#pragma once
#include <QString>

// Where the program lives and what it defaults to. The settings file and the
// debug log sit next to the executable; tests point this at a folder of their own.

// Full path of the running executable, as the system reports it.
QString ExeYolu();
// Folder of the running executable, or the folder set with ExeKlasoruAyarla.
QString ExeKlasoru();
// The one seam for tests: from now on ExeKlasoru() gives this folder (empty: back to the real one).
void ExeKlasoruAyarla(const QString& klasor);

// Default folder of the dump and client tools.
QString VarsayilanBinYolu();
// Default folder for backup files.
QString VarsayilanYedekKlasoru();
// Windows: the drive part of the executable's path ("D:", "\\server\share"), "C:" when empty.
// Elsewhere empty: there are no drives.
QString ExeSurucusu();
