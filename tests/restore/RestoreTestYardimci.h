#pragma once
// Fixtures shared by the restore tests: small archives and a private temporary folder.
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QDir>
#include <QFile>
#include <QPair>
#include <QTemporaryDir>
#include <QTest>

using ZipGirdileri = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(ZipGirdileri)

// Writes an archive with the entries in the given order; `sikistir` false stores them.
inline void ZipYaz(const QString& yol, const ZipGirdileri& girdiler, bool sikistir = true)
{
    QFile::remove(yol);
    QuaZip zip(yol);
    if (!zip.open(QuaZip::mdCreate))
        qFatal("cannot create %s", qPrintable(yol));
    for (const auto& [ad, icerik] : girdiler) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(ad), nullptr, 0, sikistir ? Z_DEFLATED : 0,
                    sikistir ? Z_DEFAULT_COMPRESSION : 0))
            qFatal("cannot add %s", qPrintable(ad));
        f.write(icerik);
        f.close();
    }
    zip.close();
}

// Names in the temporary folder that a run of the engine may leave behind.
inline QStringList KalanGeciciler()
{
    return QDir(QDir::tempPath())
        .entryList({QStringLiteral("kelmor_r_*"), QStringLiteral("kelmor_restore_*")},
                   QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Points QDir::tempPath() at a folder of the test's own, so leftovers can be counted.
class OzelTmp {
public:
    OzelTmp()
    {
        m_eski = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    ~OzelTmp() { qputenv("TMPDIR", m_eski); }
    QString Yol() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_eski;
};
