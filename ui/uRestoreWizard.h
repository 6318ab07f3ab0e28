#pragma once
#include "restore/uRestoreLogic.h"
#include "ui/SihirbazPenceresi.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The restore wizard: mode, source file (and tables), target database, then the
// run with its live log. It never saves its copy of the settings (SetAyar).
class TfrmRestoreWizard : public TSihirbazPenceresi {
    Q_OBJECT
public:
    explicit TfrmRestoreWizard(QWidget* owner = nullptr);

private:
    QWidget* Adim1Kur();
    QWidget* Adim2Kur();
    QWidget* Adim3Kur();

    void FormShow() override;
    void btnIleriClick() override;
    void btnDosyaSecClick();

    void DosyadanTablolariYukle();
    void DosyaOkundu(const QStringList& tablolar, const QString& kacanHata);
    void OkurkenKilitle(bool kilitli);
    TRestoreMod SeciliMod() const;
    void HedefleriDoldur();
    void OzetiHazirla();
    void LogSatiriEkle(const QString& satir) override;
    void RestoreYap();
    void RestoreBitti(const TRestoreSonuc& sonuc, const QString& kacanHata);

    QStringList FCalismaSatirlari; // what the current run told, to know what it left untold

    Sihirbaz::ModSecimi FMod;
    QLineEdit* edtDosya = nullptr;
    QPushButton* btnDosyaSec = nullptr;
    QComboBox* cbHedef = nullptr;
    QCheckBox* chkOlustur = nullptr;
    QPlainTextEdit* memOzet = nullptr;
};
