#pragma once
#include "backup/uBackupLogic.h"
#include "ui/SihirbazPenceresi.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The backup wizard: mode, database (and tables), target folder, then the run
// with its live log. After a successful backup it saves its copy of the settings
// (SetAyar) to the settings file.
class TfrmBackupWizard : public TSihirbazPenceresi {
    Q_OBJECT
public:
    explicit TfrmBackupWizard(QWidget* owner = nullptr);

private:
    QWidget* Adim1Kur();
    QWidget* Adim2Kur();
    QWidget* Adim3Kur();
    void SonucDugmeleriKur(QWidget* sayfa, QHBoxLayout* satir) override;

    void FormShow() override;
    void btnIleriClick() override;
    void AdimGuncelle() override;
    void cbVeritabaniChange();
    void btnKlasorSecClick();
    void btnKlasorAcClick();

    void VeritabanlariniYukle();
    void TablolariYukle();
    TYedekMod SeciliMod() const;
    void OzetiHazirla();
    void YedeklemeyiBaslat();
    void YedeklemeBitti(const TYedekSonuc& sonuc, const QString& kacanHata, const QString& klasor, bool zip);

    QString FSonDosya;

    Sihirbaz::ModSecimi FMod;
    QComboBox* cbVeritabani = nullptr;
    QLineEdit* edtKlasor = nullptr;
    QCheckBox* chkZip = nullptr;
    QPlainTextEdit* memOzet = nullptr;
    QPushButton* btnKlasorAc = nullptr;
};
