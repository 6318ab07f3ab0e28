#include "tests/common/TestSunucu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QAtomicInt>

namespace {
QString Ortam(const char* ad) { return qEnvironmentVariable(ad); }
QAtomicInt g_sayac;
} // namespace

bool TestSunucu::Var()
{
    return !Ortam("KELMOR_TEST_PORT").isEmpty() && !Ortam("KELMOR_TEST_HOST").isEmpty();
}

TKelmorAyar TestSunucu::Ayar()
{
    TKelmorAyar a;
    VarsayilanAyar(a);
    a.Host = Ortam("KELMOR_TEST_HOST");
    a.Port = Ortam("KELMOR_TEST_PORT").toInt();
    a.Kullanici = Ortam("KELMOR_TEST_USER");
    a.Sifre = Ortam("KELMOR_TEST_PASS");
    a.BinYolu = QStringLiteral("/usr/bin");
    return a;
}

bool TestSunucu::SqlDene(const QString& sql, const QString& veritabani, QString& cikti, QString& hata)
{
    if (!Var()) {
        hata = QStringLiteral("no test server");
        return false;
    }
    QProcess p;
    QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("--protocol=TCP"),
                     QStringLiteral("-h") + Ortam("KELMOR_TEST_HOST"), QStringLiteral("-P") + Ortam("KELMOR_TEST_PORT"),
                     QStringLiteral("-u") + Ortam("KELMOR_TEST_USER"),
                     QStringLiteral("--default-character-set=utf8mb4"), QStringLiteral("-N"), QStringLiteral("-B")};
    if (!veritabani.isEmpty())
        args << veritabani;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), Ortam("KELMOR_TEST_PASS"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("mariadb"), args);
    if (!p.waitForStarted()) {
        hata = p.errorString();
        return false;
    }
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    cikti = QString::fromUtf8(p.readAllStandardOutput());
    hata = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString TestSunucu::Sql(const QString& sql, const QString& veritabani)
{
    QString cikti, hata;
    if (!SqlDene(sql, veritabani, cikti, hata))
        QTest::qFail(qPrintable(QStringLiteral("SQL failed: ") + hata + QStringLiteral(" in: ") + sql.left(300)),
                     __FILE__, __LINE__);
    return cikti;
}

QString TestSunucu::YeniAd(const QString& onek)
{
    return QStringLiteral("kt_%1_%2_%3")
        .arg(onek)
        .arg(QCoreApplication::applicationPid())
        .arg(g_sayac.fetchAndAddRelaxed(1));
}

void DosyaYaz(const QString& yol, const QByteArray& icerik)
{
    QDir().mkpath(QFileInfo(yol).absolutePath());
    QFile f(yol);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(yol));
    f.write(icerik);
}

QByteArray DosyaOku(const QString& yol)
{
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
