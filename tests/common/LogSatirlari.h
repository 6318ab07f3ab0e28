#pragma once
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Reading a debug log back in tests.

// The event lines after the six-line header, each without its "hh:nn:ss.zzz | "
// stamp (a line without one is marked "<no stamp> ").
QStringList LogOlaylari(const QByteArray& log);

// Empty when every line matches its whole-line regular expression, in order and
// with nothing left over; otherwise a description of the first mismatch.
QString Uyusmazlik(const QStringList& gercek, const QStringList& desenler);

// A literal text as a regular expression.
inline QString L(const QString& s) { return QRegularExpression::escape(s); }
