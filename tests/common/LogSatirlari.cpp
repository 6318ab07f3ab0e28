#include "tests/common/LogSatirlari.h"

QStringList LogOlaylari(const QByteArray& log)
{
    QStringList s = QString::fromUtf8(log).split(QStringLiteral("\r\n"));
    s = s.mid(6);
    if (!s.isEmpty() && s.last().isEmpty())
        s.removeLast();
    static const QRegularExpression damga(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\| "));
    for (QString& x : s) {
        const auto m = damga.match(x);
        x = m.hasMatch() ? x.mid(m.capturedLength()) : QStringLiteral("<no stamp> ") + x;
    }
    return s;
}

QString Uyusmazlik(const QStringList& gercek, const QStringList& desenler)
{
    for (qsizetype i = 0; i < qMax(gercek.size(), desenler.size()); ++i) {
        const QString g = gercek.value(i, QStringLiteral("<missing>"));
        const QString d = desenler.value(i, QStringLiteral("<nothing more expected>"));
        if (!QRegularExpression(QRegularExpression::anchoredPattern(d)).match(g).hasMatch())
            return QStringLiteral("line %1: got [%2], expected /%3/\nall lines:\n%4")
                .arg(i)
                .arg(g.left(300), d, gercek.join(QLatin1Char('\n')).left(5000));
    }
    return QString();
}
