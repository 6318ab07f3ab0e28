#pragma once
#include <QStringList>

// "/geriyukle <dosya> <dbadi> [tablo ...]": replays a backup into a database
// without a window. `argumanlar` are the words after "/geriyukle".
// Returns the exit code: 0 ok, 1 failed, 2 usage.
int BassizGeriYukle(const QStringList& argumanlar);
