#pragma once
#include "core/uConfig.h"
#include "restore/uRestoreLogic.h"
#include "ui/SihirbazOrtak.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QPushButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;
class TCalismaIsi;
class TCalismaGostergesi;

// The restore wizard: mode, source file (and tables), target database, then the
// run with its live log. The opener hands it a copy of the settings through
// SetAyar; it never saves them.
// exec() gives Accepted when left with "Kapat", Rejected otherwise (İptal, the
// close box); the close box during a run takes effect once the run has returned.
class TfrmRestoreWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRestoreWizard(QWidget* owner = nullptr);
    ~TfrmRestoreWizard() override;

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
    void btnDosyaSecClick();

    void AdimGuncelle();
    void DosyadanTablolariYukle();
    void DosyaOkundu(const QStringList& tablolar, const QString& kacanHata);
    void OkurkenKilitle(bool kilitli);
    void TablolariFiltrele();
    void SayaciGuncelle();
    TRestoreMod SeciliMod() const;
    QStringList IsaretliTablolar() const;
    void HedefleriDoldur();
    void OzetiHazirla();
    void LogSatiriEkle(const QString& satir);
    void RestoreYap();
    void RestoreBitti(const TRestoreSonuc& sonuc, const QString& kacanHata);

    TKelmorAyar FAyar;
    QStringList FTumTablolar;
    QStringList FCalismaSatirlari; // what the current run told, to know what it left untold
    bool FKapatIstendi = false;
    bool FOrtalandi = false;

    QWidget* Panel1 = nullptr;
    QStackedWidget* pcAdimlar = nullptr;
    Sihirbaz::AltCubuk FAlt;
    Sihirbaz::TabloGrubu FTablo;
    QRadioButton* rbTam = nullptr;
    QRadioButton* rbSadeceDB = nullptr;
    QRadioButton* rbTablolar = nullptr;
    QLineEdit* edtDosya = nullptr;
    QPushButton* btnDosyaSec = nullptr;
    QComboBox* cbHedef = nullptr;
    QCheckBox* chkOlustur = nullptr;
    QPlainTextEdit* memOzet = nullptr;
    QLabel* lblSonucBaslik = nullptr;
    QPlainTextEdit* memLog = nullptr;
    QPushButton* btnKapat = nullptr;
    TCalismaGostergesi* FGosterge = nullptr;
    TCalismaIsi* FIs = nullptr;
};
