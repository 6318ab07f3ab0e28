#include "core/Ini.h"

#include <QFile>

namespace {

bool BolumBasligi(const QString& satir, QString& ad)
{
    const QString t = satir.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) ) {
        const qsizetype son = t.indexOf(QLatin1Char(']'));
        if (son > 0) {
            ad = t.mid(1, son - 1).trimmed();
            return true;
        }
    }
    return false;
}

bool Yorum(const QString& satir)
{
    const QString t = satir.trimmed();
    return t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

bool AyniAd(const QString& a, const QString& b)
{
    // ASCII case only, as the Windows INI service does for these names.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QChar x = a.at(i), y = b.at(i);
        auto kucuk = [](QChar c) {
            return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 32) : c;
        };
        if (kucuk(x) != kucuk(y))
            return false;
    }
    return true;
}

} // namespace

bool IniDosyasi::Yukle(const QString& yol)
{
    m_satirlar.clear();
    QFile f(yol);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray veri = f.readAll();
    if (veri.startsWith("\xEF\xBB\xBF"))
        veri.remove(0, 3);
    QString metin = QString::fromUtf8(veri);
    metin.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_satirlar = metin.split(QLatin1Char('\n'));
    if (!m_satirlar.isEmpty() && m_satirlar.last().isEmpty())
        m_satirlar.removeLast();
    for (QString& s : m_satirlar)
        if (s.endsWith(QLatin1Char('\r')))
            s.chop(1);
    return true;
}

IniDosyasi::Konum IniDosyasi::Bul(const QString& bolum, const QString& anahtar) const
{
    Konum k;
    bool icinde = false;
    for (qsizetype i = 0; i < m_satirlar.size(); ++i) {
        const QString& s = m_satirlar.at(i);
        QString ad;
        if (BolumBasligi(s, ad)) {
            if (icinde) {
                k.bolumSon = i;
                return k;
            }
            if (AyniAd(ad, bolum)) {
                icinde = true;
                k.bolumBas = i;
            }
            continue;
        }
        if (!icinde || Yorum(s) || k.anahtar >= 0)
            continue;
        const qsizetype esit = s.indexOf(QLatin1Char('='));
        if (esit > 0 && AyniAd(s.left(esit).trimmed(), anahtar))
            k.anahtar = i;
    }
    if (icinde)
        k.bolumSon = m_satirlar.size();
    return k;
}

bool IniDosyasi::Oku(const QString& bolum, const QString& anahtar, QString& deger) const
{
    const Konum k = Bul(bolum, anahtar);
    if (k.anahtar < 0)
        return false;
    const QString& s = m_satirlar.at(k.anahtar);
    deger = s.mid(s.indexOf(QLatin1Char('=')) + 1).trimmed().left(2047);
    return true;
}

void IniDosyasi::Yaz(const QString& bolum, const QString& anahtar, const QString& deger)
{
    const QString satir = anahtar + QLatin1Char('=') + deger;
    const Konum k = Bul(bolum, anahtar);
    if (k.anahtar >= 0) {
        m_satirlar[k.anahtar] = satir;
        return;
    }
    if (k.bolumBas >= 0) {
        // After the section's last non-blank line, so blank separators stay below it.
        qsizetype yer = k.bolumSon;
        while (yer - 1 > k.bolumBas && m_satirlar.at(yer - 1).trimmed().isEmpty())
            --yer;
        m_satirlar.insert(yer, satir);
        return;
    }
    m_satirlar << QLatin1Char('[') + bolum + QLatin1Char(']') << satir;
}

QByteArray IniDosyasi::Metin() const
{
    QString m;
    for (const QString& s : m_satirlar)
        m += s + QStringLiteral("\r\n");
    return m.toUtf8();
}
