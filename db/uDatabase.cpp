#include "db/uDatabase.h"
// Placeholder until the Connector/C implementation lands.
bool TDB::Test(const TKelmorAyar&, QString& Hata, QString& Versiyon) { Hata.clear(); Versiyon.clear(); return false; }
QStringList TDB::Veritabanlari(const TKelmorAyar&, QString& Hata) { Hata.clear(); return {}; }
QStringList TDB::Tablolar(const TKelmorAyar&, const QString&, QString& Hata) { Hata.clear(); return {}; }
bool TDB::VeritabaniVarMi(const TKelmorAyar&, const QString&) { return false; }
bool TDB::VeritabaniOlustur(const TKelmorAyar&, const QString&, QString& Hata) { Hata.clear(); return false; }
