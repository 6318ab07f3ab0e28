#pragma once
#include "core/Ortak.h"

#include <QString>

#include <type_traits>

// The debug log "kelmor_debug.log" next to the executable: replaced at every start,
// one time-stamped line per event, opened and closed for every line so that nothing
// is lost when the process dies. Never lets an error reach its caller.

QString LogDosyasi();
// Replaces the log with a new one that begins with the header block. Returns false
// when the header could not be written (the program then runs without a log).
bool LogBaslat();
void LogYaz(const QString& metin);

namespace detail {
inline QString LogArg(const QString& s) { return s; }
inline QString LogArg(const char* s) { return QString::fromUtf8(s); }
template <typename T>
    requires std::is_integral_v<T>
QString LogArg(T v)
{
    return QString::number(v);
}
QString LogBicimle(const char* bicim, const QStringList& degerler);
} // namespace detail

// printf-like: "%s" and "%d" take the next value in turn, "%%" is a percent sign.
template <typename... A>
void LogYazF(const char* bicim, const A&... degerler)
{
    LogYaz(detail::LogBicimle(bicim, QStringList{detail::LogArg(degerler)...}));
}
