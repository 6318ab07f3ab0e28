// Renders every window and every wizard page to PNG files so a reviewer can look
// at them: kelmor_render <folder>. With a test server (KELMOR_TEST_* set) the
// wizards are driven through a real backup and restore of a small sample
// database; without one their pages are only turned to.
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"
#include "ui/Diyaloglar.h"
#include "ui/uBackupWizard.h"
#include "ui/uMain.h"
#include "ui/uRestoreWizard.h"
#include "ui/uSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

QString g_klasor;
int g_sayi = 0;
bool g_hata = false;

void Yaz(const QString& s)
{
    std::fprintf(stderr, "%s\n", qPrintable(s));
}

void Bekle(int ms = 30)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

void Resim(QWidget* w, const QString& ad)
{
    Bekle();
    const QString yol =
        QDir(g_klasor).filePath(QStringLiteral("%1-%2.png").arg(++g_sayi, 2, 10, QLatin1Char('0')).arg(ad));
    if (!w->grab().save(yol)) {
        Yaz(QStringLiteral("yazılamadı: ") + yol);
        g_hata = true;
        return;
    }
    Yaz(yol);
}

template <class T> T* Bul(QWidget* ust, const char* ad)
{
    T* w = ust->findChild<T*>(QLatin1String(ad));
    if (!w) {
        Yaz(QStringLiteral("bulunamadı: ") + QLatin1String(ad));
        g_hata = true;
    }
    return w;
}

void Tikla(QWidget* ust, const char* ad)
{
    if (auto* b = Bul<QAbstractButton>(ust, ad))
        b->click();
    Bekle();
}

bool SonucuBekle(QWidget* sihirbaz)
{
    auto* kapat = Bul<QPushButton>(sihirbaz, "btnKapat");
    QElapsedTimer t;
    t.start();
    while (kapat && !kapat->isVisible() && t.elapsed() < 120000)
        Bekle(50);
    return kapat && kapat->isVisible();
}

// Without a server: each page as it is, turned to by its index.
void SayfalariCevir(QWidget* sihirbaz, const QString& onek)
{
    auto* pc = Bul<QStackedWidget>(sihirbaz, "pcAdimlar");
    if (!pc)
        return;
    for (int i = 0; i < pc->count(); ++i) {
        pc->setCurrentIndex(i);
        Resim(sihirbaz, onek + QLatin1Char('-') + pc->widget(i)->objectName());
    }
}

void IlkTablolariIsaretle(QWidget* sihirbaz, int kac)
{
    if (auto* l = Bul<QListWidget>(sihirbaz, "lstTablolar"))
        for (int i = 0; i < l->count() && i < kac; ++i)
            l->item(i)->setCheckState(Qt::Checked);
    Bekle();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmor Yedekleme"));
    if (argc < 2) {
        Yaz(QStringLiteral("kullanım: kelmor_render <klasör>"));
        return 2;
    }
    g_klasor = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_klasor);
    QTemporaryDir exe;
    ExeKlasoruAyarla(exe.path());

    const bool sunucu = TestSunucu::Var();
    TKelmorAyar ayar;
    VarsayilanAyar(ayar);
    if (sunucu)
        ayar = TestSunucu::Ayar();
    ayar.YedekKlasoru = QDir(exe.path()).filePath(QStringLiteral("KelmorYedek"));
    ayar.SonYedek = QStringLiteral("11.12.2026 09:30");
    AyarlariKaydet(ayar);

    // The seam answers every dialog: messages are printed, questions get Yes,
    // the file dialog gets the backup just taken.
    QString sonYedek;
    Diyaloglar::CevaplayiciAyarla([&](const Diyaloglar::Istek& i) {
        if (i.cesit == Diyaloglar::Istek::Cesit::Mesaj)
            Yaz(QStringLiteral("[%1] %2").arg(i.baslik, i.metin));
        Diyaloglar::Cevap c;
        if (i.cesit == Diyaloglar::Istek::Cesit::DosyaAc)
            c.metin = sonYedek;
        if (i.cesit == Diyaloglar::Istek::Cesit::Klasor)
            c.metin = i.metin;
        return c;
    });

    {
        TfrmMain w;
        w.show();
        Resim(&w, QStringLiteral("anapencere"));
    }
    {
        TfrmSettings d;
        d.SetAyar(ayar);
        d.show();
        Resim(&d, QStringLiteral("ayarlar"));
    }

    const QString db = QStringLiteral("kelmor_ornek");
    QString cikti, hata;
    if (sunucu) {
        if (!TestSunucu::SqlDene(
                QStringLiteral(
                    "DROP DATABASE IF EXISTS %1; DROP DATABASE IF EXISTS %1_geri; CREATE DATABASE %1;"
                    "CREATE TABLE %1.musteriler (id INT PRIMARY KEY, ad VARCHAR(40));"
                    "CREATE TABLE %1.siparisler (id INT PRIMARY KEY, musteri INT);"
                    "CREATE TABLE %1.urunler (id INT PRIMARY KEY, ad VARCHAR(40));"
                    "CREATE TABLE %1.stok (urun INT, adet INT);"
                    "INSERT INTO %1.musteriler VALUES (1,'Ayşe'),(2,'Çağrı');")
                    .arg(db),
                QString(), cikti, hata)) {
            Yaz(QStringLiteral("örnek veritabanı kurulamadı: ") + hata);
            return 1;
        }
    }

    {
        TfrmBackupWizard b;
        b.SetAyar(ayar);
        b.show();
        if (!sunucu) {
            SayfalariCevir(&b, QStringLiteral("yedek"));
        } else {
            Resim(&b, QStringLiteral("yedek-adim1"));
            Tikla(&b, "rbTablolar");
            Tikla(&b, "btnIleri");
            if (auto* cb = Bul<QComboBox>(&b, "cbVeritabani")) {
                cb->setCurrentIndex(cb->findText(db));
                Q_EMIT cb->activated(cb->currentIndex());
            }
            IlkTablolariIsaretle(&b, 2);
            Resim(&b, QStringLiteral("yedek-adim2-tablolar"));
            Tikla(&b, "btnIleri");
            Resim(&b, QStringLiteral("yedek-adim3"));
            Tikla(&b, "btnIleri");
            if (!SonucuBekle(&b))
                g_hata = true;
            Resim(&b, QStringLiteral("yedek-sonuc"));
            sonYedek = b.Ayar().SonYedekDosya;
        }
    }
    {
        TfrmRestoreWizard r;
        r.SetAyar(ayar);
        r.show();
        if (!sunucu) {
            SayfalariCevir(&r, QStringLiteral("geriyukle"));
        } else {
            Resim(&r, QStringLiteral("geriyukle-adim1"));
            Tikla(&r, "rbTablolar");
            Tikla(&r, "btnIleri");
            Tikla(&r, "btnDosyaSec");
            IlkTablolariIsaretle(&r, 2);
            Resim(&r, QStringLiteral("geriyukle-adim2-tablolar"));
            Tikla(&r, "btnIleri");
            if (auto* cb = Bul<QComboBox>(&r, "cbHedef"))
                cb->setEditText(db + QStringLiteral("_geri"));
            Resim(&r, QStringLiteral("geriyukle-adim3"));
            Tikla(&r, "btnIleri");
            if (!SonucuBekle(&r))
                g_hata = true;
            Resim(&r, QStringLiteral("geriyukle-sonuc"));
        }
    }
    if (sunucu)
        TestSunucu::SqlDene(
            QStringLiteral("DROP DATABASE IF EXISTS %1; DROP DATABASE IF EXISTS %1_geri;").arg(db), QString(),
            cikti, hata);
    Diyaloglar::CevaplayiciAyarla({});
    return g_hata ? 1 : 0;
}
