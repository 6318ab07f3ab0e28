#include "restore/RestoreYardimci.h"
#include "restore/SatirOkuyucu.h"
#include "restore/uRestoreLogic.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <vector>

using namespace restore_detail;

namespace {

// Built per call: a pattern object is not shared between threads (the wizard
// lists tables on a worker thread).
QRegularExpression CreateKalibi()
{
    return QRegularExpression(QStringLiteral(R"(CREATE\s+TABLE\s+(?:IF\s+NOT\s+EXISTS\s+)?[`"]?([^\s`"(]+)[`"]?)"),
                              QRegularExpression::CaseInsensitiveOption);
}

QRegularExpression DropKalibi()
{
    return QRegularExpression(QStringLiteral(R"(DROP\s+TABLE\s+(?:IF\s+EXISTS\s+)?[`"]?([^\s`"(,;]+)[`"]?)"),
                              QRegularExpression::CaseInsensitiveOption);
}

// The dump tool's three-line comment header in front of every section. "^" also
// matches after a lone CR or a CR LF pair, not only after LF.
QRegularExpression BaslikKalibi()
{
    return QRegularExpression(
        QStringLiteral("(*ANYCRLF)^--\\s*\\n--\\s*(?:Table structure for table|Dumping data for table|"
                       "Temporary table structure for view|Final view structure for view)\\s+`([^`]+)`\\s*\\n--"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
}

QByteArray AsciiBuyuk(QByteArray s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return s;
}

QByteArray DosyaOkuTumu(const QString& yol)
{
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly))
        throw KelmorHata(yol + QStringLiteral(": ") + f.errorString());
    QByteArray b = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw KelmorHata(yol + QStringLiteral(": ") + f.errorString());
    return b;
}

void DosyaYazYeni(const QString& yol, const QByteArray& icerik)
{
    QFile f(yol);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || f.write(icerik) != icerik.size() || !f.flush())
        throw KelmorHata(yol + QStringLiteral(": ") + f.errorString());
    f.close();
}

// Collects output lines and writes them in blocks of about 4096 bytes.
class TamponluYazici {
public:
    explicit TamponluYazici(const QString& yol) : m_dosya(yol)
    {
        if (!m_dosya.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            throw KelmorHata(yol + QStringLiteral(": ") + m_dosya.errorString());
        m_tampon.reserve(2 * kTampon);
    }
    void Ekle(const QByteArray& b)
    {
        m_tampon.append(b);
        if (m_tampon.size() >= kTampon)
            Bosalt();
    }
    void Bosalt()
    {
        if (!m_tampon.isEmpty() && m_dosya.write(m_tampon) != m_tampon.size())
            throw KelmorHata(m_dosya.fileName() + QStringLiteral(": ") + m_dosya.errorString());
        m_tampon.clear();
    }

private:
    static constexpr qsizetype kTampon = 4096;
    QFile m_dosya;
    QByteArray m_tampon;
};

} // namespace

QStringList SqldekiTablolar(const QString& sqlYolu)
{
    QStringList sonuc;
    if (!DosyaVar(sqlYolu))
        return sonuc;
    const QRegularExpression create = CreateKalibi();
    const QRegularExpression drop = DropKalibi();
    QSet<QString> gorulen;
    SatirOkuyucu okuyucu(sqlYolu);
    QByteArray satir;
    while (okuyucu.Sonraki(satir)) {
        if (satir.isEmpty())
            continue;
        // A plain substring test first keeps the pattern engine away from data lines.
        const QByteArray buyuk = AsciiBuyuk(satir);
        const QRegularExpression* kalip = nullptr;
        if (buyuk.contains("CREATE TABLE"))
            kalip = &create;
        else if (buyuk.contains("DROP TABLE"))
            kalip = &drop;
        else
            continue;
        const QRegularExpressionMatch m = kalip->match(QString::fromUtf8(satir));
        if (!m.hasMatch())
            continue;
        const QString ad = m.captured(1);
        if (!gorulen.contains(ad)) {
            gorulen.insert(ad);
            sonuc << ad;
        }
    }
    // QString's operator< compares UTF-16 code units, with no locale rules.
    std::sort(sonuc.begin(), sonuc.end());
    return sonuc;
}

QString SqlFiltrele(const QString& sqlYolu, const QStringList& tablolar, const TLogProc& log)
{
    const QStringList secili = tablolar;
    QByteArray ham = DosyaOkuTumu(sqlYolu);

    // A UTF-8 script is looked at through Latin-1, one character per byte, so the
    // kept sections are copied byte for byte (binary data in string literals
    // included); only the names in the headers are decoded as UTF-8. A UTF-16
    // script is decoded and written back as UTF-8.
    const bool utf16Le = ham.startsWith("\xFF\xFE");
    const bool utf16Be = ham.startsWith("\xFE\xFF");
    QString metin;
    if (utf16Le || utf16Be) {
        QStringDecoder d(utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                         QStringConverter::Flag::ConvertInitialBom);
        metin = d.decode(QByteArrayView(ham).sliced(2));
    } else {
        if (ham.startsWith(Utf8Bom()))
            ham.remove(0, 3);
        metin = QString::fromLatin1(ham);
    }
    ham = QByteArray();
    const bool utf16 = utf16Le || utf16Be;
    auto bayt = [&](QStringView parca) { return utf16 ? parca.toUtf8() : parca.toLatin1(); };
    auto ad = [&](QStringView yakalanan) {
        return utf16 ? yakalanan.toString() : QString::fromUtf8(yakalanan.toLatin1());
    };

    QByteArray cikti;
    try {
        struct Bolum {
            qsizetype bas;
            QString ad;
        };
        std::vector<Bolum> bolumler;
        const QRegularExpression baslik = BaslikKalibi();
        QRegularExpressionMatchIterator it = baslik.globalMatch(metin);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            bolumler.push_back({m.capturedStart(0), ad(m.capturedView(1))});
        }
        if (bolumler.empty()) {
            Bildir(log, QStringLiteral("  UYARI: SQL formati tanınmadı, filtreleme yapılamadı"));
            return QString();
        }
        cikti = Utf8Bom();
        cikti += bayt(QStringView(metin).left(bolumler.front().bas));
        for (size_t i = 0; i < bolumler.size(); ++i) {
            if (!secili.contains(bolumler[i].ad))
                continue;
            const qsizetype bas = bolumler[i].bas;
            const qsizetype son = i + 1 < bolumler.size() ? bolumler[i + 1].bas : metin.size();
            cikti += bayt(QStringView(metin).mid(bas, son - bas));
        }
    } catch (const std::exception& e) {
        Bildir(log, QStringLiteral("  HATA: Filtreleme: ") + HataMesaji(e));
        return QString();
    }
    metin = QString();

    const QString klasor = GeciciKlasorOlustur();
    KlasorBekcisi bekci(klasor);
    const QString yol = klasor + QStringLiteral("/filtreli.sql");
    DosyaYazYeni(yol, cikti);
    bekci.Birak();
    Bildir(log, QStringLiteral("  ") + QString::number(secili.size()) + QStringLiteral(" tablo seçildi"));
    return yol;
}

QString SqlTemizle(const QString& sqlYolu, const TLogProc& log)
{
    if (!DosyaVar(sqlYolu))
        return sqlYolu;
    const QString klasor = GeciciKlasorOlustur();
    // The folder goes again when nothing was removed or when anything below fails.
    KlasorBekcisi bekci(klasor);
    const QString yol = klasor + QStringLiteral("/temiz.sql");
    qint64 silinen = 0;
    {
        SatirOkuyucu okuyucu(sqlYolu);
        TamponluYazici yazici(yol);
        yazici.Ekle(Utf8Bom());
        QByteArray satir;
        while (okuyucu.Sonraki(satir)) {
            // Only statement lines that begin with the phrase: a data line whose
            // values mention CREATE DATABASE or USE must reach the server intact.
            const QByteArray test = AsciiBuyukKirp(satir);
            if (test.startsWith("CREATE DATABASE") || test.startsWith("USE ")) {
                ++silinen;
                continue;
            }
            satir += "\r\n";
            yazici.Ekle(satir);
        }
        yazici.Bosalt();
    }
    if (silinen == 0)
        return sqlYolu;
    bekci.Birak();
    Bildir(log, QStringLiteral("  ") + QString::number(silinen) + QStringLiteral(" satir temizlendi (CREATE DATABASE / USE)"));
    return yol;
}
