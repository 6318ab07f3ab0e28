#pragma once
#include "backup/uBackupLogic.h"
#include "core/uConfig.h"
#include "ui/SihirbazOrtak.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;
class TCalismaIsi;
class TCalismaGostergesi;

// The backup wizard: mode, database (and tables), target folder, then the run
// with its live log. The opener hands it a copy of the settings through SetAyar;
// after a successful backup it saves its copy to the settings file.
// exec() gives Accepted when left with "Kapat", Rejected otherwise (İptal, the
// close box); the close box during a run takes effect once the run has returned.
class TfrmBackupWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackupWizard(QWidget* owner = nullptr);
    ~TfrmBackupWizard() override;

    void SetAyar(const TKelmorAyar& ayar);
    TKelmorAyar Ayar() const;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormuKur();
    QWidget* Adim1Kur();
    QWidget* Adim2Kur();
    QWidget* Adim3Kur();
    QWidget* SonucKur();

    void FormShow();
    void btnIleriClick();
    void btnGeriClick();
    void cbVeritabaniChange();
    void btnKlasorSecClick();
    void btnKlasorAcClick();

    void AdimGuncelle();
    void VeritabanlariniYukle();
    void TablolariYukle();
    void TablolariFiltrele();
    void SayaciGuncelle();
    TYedekMod SeciliMod() const;
    QStringList IsaretliTablolar() const;
    void OzetiHazirla();
    void LogSatiriEkle(const QString& satir);
    void YedeklemeyiBaslat();
    void YedeklemeBitti(const TYedekSonuc& sonuc, const QString& kacanHata, const QString& klasor, bool zip);

    TKelmorAyar FAyar;
    QStringList FTumTablolar;
    QString FSonDosya;
    bool FKapatIstendi = false;
    bool FOrtalandi = false;

    QWidget* Panel1 = nullptr;
    QStackedWidget* pcAdimlar = nullptr;
    Sihirbaz::AltCubuk FAlt;
    Sihirbaz::TabloGrubu FTablo;
    QRadioButton* rbTam = nullptr;
    QRadioButton* rbSadeceDB = nullptr;
    QRadioButton* rbTablolar = nullptr;
    QComboBox* cbVeritabani = nullptr;
    QLineEdit* edtKlasor = nullptr;
    QCheckBox* chkZip = nullptr;
    QPlainTextEdit* memOzet = nullptr;
    QLabel* lblSonucBaslik = nullptr;
    QPlainTextEdit* memLog = nullptr;
    QPushButton* btnKlasorAc = nullptr;
    QPushButton* btnKapat = nullptr;
    TCalismaGostergesi* FGosterge = nullptr;
    TCalismaIsi* FIs = nullptr;
};
