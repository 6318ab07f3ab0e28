#pragma once
#include "core/uConfig.h"
#include "ui/CalismaIsi.h"
#include "ui/SihirbazOrtak.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QPlainTextEdit;
class QStackedWidget;
class TCalismaGostergesi;

// What the backup and restore wizards share: the band `Panel1`, the pages
// `pcAdimlar` (the subclass's three steps, then the result page `tsSonuc`), the
// bottom bar `pnlAlt`, the step table list, and the job on a worker thread with
// its live log. The opener hands in a copy of the settings through SetAyar.
// exec() gives Accepted when left with "Kapat", Rejected otherwise (İptal, the
// close box); the close box during a job takes effect once the job has returned.
class TSihirbazPenceresi : public QDialog {
    Q_OBJECT
public:
    void SetAyar(const TKelmorAyar& ayar);
    TKelmorAyar Ayar() const;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

    // adimEtiketleri: the step label of the three steps; sonDugme: the caption of
    // btnIleri on the last step.
    TSihirbazPenceresi(QWidget* owner, const QStringList& adimEtiketleri, const QString& sonDugme);

    // Builds the window around the subclass's three step pages; called from the
    // subclass's constructor, after the window's size and caption are set.
    void FormuKur(const QColor& bantRengi, int altYukseklik, const QList<QWidget*>& adimlar);
    // Adds the result page's buttons that stand left of "Kapat"; none here.
    virtual void SonucDugmeleriKur(QWidget* sayfa, QHBoxLayout* satir);

    // Every showing but a spontaneous one turns to step 1 and calls this to reset
    // the steps' controls.
    virtual void FormShow() = 0;
    virtual void btnIleriClick() = 0;
    void btnGeriClick();
    // The step label and the bottom bar's buttons for the current page.
    virtual void AdimGuncelle();

    // The table part of step 2 (see TabloGrubuYap) with its search box, Tümü /
    // Hiçbiri and counter wired to FTumTablolar.
    void TabloGrubuKur(QWidget* sayfa, QBoxLayout* duzen, const QString& baslik, const QString& sayac,
                       const QString& yukleniyor);
    void TablolariFiltrele();
    void SayaciGuncelle();
    QStringList IsaretliTablolar() const;

    bool Calisiyor() const;
    // Runs `is` on the worker; `bitti` then gets the message of an error that
    // escaped it (empty when none did). A close box pressed meanwhile closes the
    // window after `bitti`.
    void IsiBaslat(TCalismaIsi::Is is, std::function<void(const QString& kacanHata)> bitti);
    // Turns to the result page: empty log, "Sonuç..." in the window's text colour,
    // no "Kapat". False, and nothing done, while a job runs.
    bool SonucSayfasinaGec();
    // The run itself: the gauge (watching `izlenenKlasor` when given) while it goes;
    // then an escaped error goes to the log, `bitti` has its say and "Kapat"
    // becomes the default button.
    void CalismayiBaslat(const QString& izlenenKlasor, TCalismaIsi::Is is,
                         std::function<void(const QString& kacanHata)> bitti);
    // The result page's headline: green with `basariMetni`, or red with `hataMetni`.
    void SonucBasligi(bool basarili, const QString& basariMetni, const QString& hataMetni);
    virtual void LogSatiriEkle(const QString& satir);

    TKelmorAyar FAyar;
    QWidget* Panel1 = nullptr;
    QStackedWidget* pcAdimlar = nullptr;
    Sihirbaz::AltCubuk FAlt;
    Sihirbaz::TabloGrubu FTablo;
    QStringList FTumTablolar;

private:
    QWidget* SonucKur();

    const QStringList FAdimEtiketleri;
    const QString FSonDugme;
    bool FKapatIstendi = false;
    bool FOrtalandi = false;

    QLabel* lblSonucBaslik = nullptr;
    QPlainTextEdit* memLog = nullptr;
    QPushButton* btnKapat = nullptr;
    TCalismaGostergesi* FGosterge = nullptr;
    TCalismaIsi* FIs = nullptr;
};
