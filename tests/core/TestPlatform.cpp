#include "platform/GuvenliDosya.h"
#include "platform/Surec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString Betik(const QTemporaryDir& d, const QString& ad, const QByteArray& govde)
{
    const QString yol = d.filePath(ad);
    QFile f(yol);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + govde);
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return yol;
}
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void stdoutToFileStderrCapturedExitCode()
    {
        const QString tool = Betik(m_dir, QStringLiteral("t1"), "echo out-$1; echo \"err $2\" >&2; exit 7\n");
        SurecIstegi i;
        i.Program = tool;
        i.Argumanlar = {QStringLiteral("a b"), QStringLiteral("ş\"x")};
        i.CikisTuru = SurecIstegi::Cikis::Dosya;
        i.CikisDosyasi = m_dir.filePath(QStringLiteral("out.txt"));
        QFile::remove(i.CikisDosyasi);
        DosyaYazSabit(i.CikisDosyasi, "old content that must go away");
        const SurecSonucu s = SurecCalistir(i);
        QVERIFY(s.Basladi);
        QCOMPARE(s.CikisKodu, 7u);
        QCOMPARE(s.Stderr, QStringLiteral("err ş\"x\n"));
        QFile f(i.CikisDosyasi);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("out-a b\n"));
    }

    void hugeErrorStreamDoesNotBlock()
    {
        const QString tool =
            Betik(m_dir, QStringLiteral("t2"), "head -c 3000000 /dev/zero | tr '\\0' 'e' >&2; echo done\n");
        SurecIstegi i;
        i.Program = tool;
        i.CikisTuru = SurecIstegi::Cikis::Yok;
        const SurecSonucu s = SurecCalistir(i);
        QVERIFY(s.Basladi);
        QCOMPARE(s.CikisKodu, 0u);
        QCOMPARE(s.Stderr.size(), 3000000);
    }

    void onlyStandardHandlesAreInherited()
    {
        // An open descriptor without close-on-exec must not reach the tool.
        int fd = ::open("/dev/null", O_RDONLY);
        QVERIFY(fd > 2);
        const QString tool = Betik(m_dir, QStringLiteral("t3"), "ls /proc/self/fd >&2\n");
        SurecIstegi i;
        i.Program = tool;
        i.CikisTuru = SurecIstegi::Cikis::Yok;
        const SurecSonucu s = SurecCalistir(i);
        ::close(fd);
        QVERIFY(s.Basladi);
        // ls itself opens one descriptor to read the folder.
        QStringList fds = s.Stderr.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        fds.removeAll(QStringLiteral("0"));
        fds.removeAll(QStringLiteral("1"));
        fds.removeAll(QStringLiteral("2"));
        QVERIFY2(fds.size() <= 1, qPrintable(s.Stderr));
    }

    void stdinFromFileAndSignals()
    {
        DosyaYazSabit(m_dir.filePath(QStringLiteral("in.txt")), "girdi\n");
        const QString tool = Betik(m_dir, QStringLiteral("t4"), "cat >&2; kill -9 $$\n");
        SurecIstegi i;
        i.Program = tool;
        i.GirisTuru = SurecIstegi::Giris::Dosya;
        i.GirisDosyasi = m_dir.filePath(QStringLiteral("in.txt"));
        const SurecSonucu s = SurecCalistir(i);
        QVERIFY(s.Basladi);
        QCOMPARE(s.Stderr, QStringLiteral("girdi\n"));
        QCOMPARE(s.CikisKodu, 128u + 9u);
    }

    void failuresToStart_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("cikis");
        QTest::addColumn<QString>("giris");
        QTest::newRow("missing tool") << m_dir.filePath(QStringLiteral("none")) << QString() << QString();
        QTest::newRow("output in missing folder") << QStringLiteral("/bin/true")
                                                  << m_dir.filePath(QStringLiteral("no/such/out.sql")) << QString();
        QTest::newRow("missing input") << QStringLiteral("/bin/true") << QString()
                                       << m_dir.filePath(QStringLiteral("none.sql"));
    }

    void failuresToStart()
    {
        QFETCH(QString, program);
        QFETCH(QString, cikis);
        QFETCH(QString, giris);
        SurecIstegi i;
        i.Program = program;
        if (!cikis.isEmpty()) {
            i.CikisTuru = SurecIstegi::Cikis::Dosya;
            i.CikisDosyasi = cikis;
        }
        if (!giris.isEmpty()) {
            i.GirisTuru = SurecIstegi::Giris::Dosya;
            i.GirisDosyasi = giris;
        }
        const SurecSonucu s = SurecCalistir(i);
        QVERIFY(!s.Basladi);
        QCOMPARE(s.SistemHatasi, quint32(ENOENT));
    }

    void secureTempFilesAreNewAndPrivate()
    {
        QString y1, y2, h;
        QVERIFY(YeniGeciciDosyaYaz(m_dir.path(), QStringLiteral("kelmor_"), QStringLiteral(".cnf"), "a", y1, h));
        QVERIFY(YeniGeciciDosyaYaz(m_dir.path(), QStringLiteral("kelmor_"), QStringLiteral(".cnf"), "b", y2, h));
        QVERIFY(y1 != y2); // same tick or not, never the same file
        QVERIFY(QFileInfo(y1).fileName().startsWith(QStringLiteral("kelmor_")));
        QVERIFY(y1.endsWith(QStringLiteral(".cnf")));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(y1).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
        QString k1, k2;
        QVERIFY(YeniGeciciKlasor(m_dir.path(), QStringLiteral("kelmor_restore_"), k1, h));
        QVERIFY(YeniGeciciKlasor(m_dir.path(), QStringLiteral("kelmor_restore_"), k2, h));
        QVERIFY(k1 != k2);
        QCOMPARE(::stat(QFile::encodeName(k1).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);
        QString y3;
        QVERIFY(!YeniGeciciDosyaYaz(m_dir.filePath(QStringLiteral("yok/yok")), QStringLiteral("k_"),
                                    QStringLiteral(".cnf"), "x", y3, h));
        QVERIFY(y3.isEmpty());
        QVERIFY(!h.isEmpty());
    }

private:
    static void DosyaYazSabit(const QString& yol, const QByteArray& b)
    {
        QFile f(yol);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(b);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "TestPlatform.moc"
