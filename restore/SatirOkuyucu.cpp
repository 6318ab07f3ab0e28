#include "restore/SatirOkuyucu.h"

#include "core/Ortak.h"

SatirOkuyucu::SatirOkuyucu(const QString& yol) : m_dosya(yol)
{
    if (!m_dosya.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw KelmorHata(yol + QStringLiteral(": ") + m_dosya.errorString());
}

bool SatirOkuyucu::Doldur()
{
    if (m_bitti)
        return false;
    if (m_bas > 0) {
        m_tampon.remove(0, m_bas);
        m_tara -= m_bas;
        m_bas = 0;
    }
    char buf[kOkumaTamponu];
    const qint64 n = m_dosya.read(buf, sizeof buf);
    if (n < 0)
        throw KelmorHata(m_dosya.fileName() + QStringLiteral(": ") + m_dosya.errorString());
    if (n == 0) {
        m_bitti = true;
        return false;
    }
    QByteArrayView parca(buf, n);
    if (m_ilk) {
        m_ilk = false;
        if (parca.startsWith("\xEF\xBB\xBF")) {
            parca = parca.sliced(3);
        } else if (parca.startsWith("\xFF\xFE")) {
            m_utf16.emplace(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
            parca = parca.sliced(2);
        } else if (parca.startsWith("\xFE\xFF")) {
            m_utf16.emplace(QStringConverter::Utf16BE, QStringConverter::Flag::ConvertInitialBom);
            parca = parca.sliced(2);
        }
    }
    if (m_utf16)
        // Line ends survive the move to UTF-8 as single bytes, and no UTF-8
        // sequence holds a byte below 0x80, so the splitter below works unchanged.
        m_tampon.append(QString(m_utf16->decode(parca)).toUtf8());
    else
        m_tampon.append(parca);
    return true;
}

bool SatirOkuyucu::Sonraki(QByteArray& satir)
{
    for (;;) {
        const char* p = m_tampon.constData();
        const qsizetype n = m_tampon.size();
        qsizetype i = m_tara;
        while (i < n && p[i] != '\n' && p[i] != '\r')
            ++i;
        if (i < n) {
            qsizetype son = i + 1;
            if (p[i] == '\r') {
                if (i + 1 == n && !m_bitti) {
                    // Whether an LF follows is in the next chunk; look again then.
                    m_tara = i;
                    Doldur();
                    continue;
                }
                if (i + 1 < n && p[i + 1] == '\n') {
                    son = i + 2;
                }
            }
            satir = m_tampon.mid(m_bas, i - m_bas);
            m_bas = son;
            m_tara = son;
            return true;
        }
        m_tara = n;
        if (!Doldur()) {
            if (m_bas >= m_tampon.size())
                return false;
            satir = m_tampon.mid(m_bas);
            m_bas = m_tara = m_tampon.size();
            return true;
        }
    }
}
