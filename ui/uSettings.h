#pragma once
#include "core/uConfig.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The settings dialog: connection, tool folder, backup folder, ZIP choice and the
// settings password. It never writes the settings file: after "Kaydet" (exec()
// gives Accepted) Ayar() holds the edited record and the opener saves it.
class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSettings(QWidget* owner = nullptr);

    void SetAyar(const TKelmorAyar& ayar) { FAyar = ayar; }
    TKelmorAyar Ayar() const { return FAyar; }

    // The port box's rule: a decimal integer, or a hexadecimal one after "0x";
    // any other text gives 3306.
    static qint32 PortOku(const QString& metin);

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormShow();
    void btnTestClick();
    void btnBinSecClick();
    void btnKlasorSecClick();
    void btnKaydetClick();
    void btnIptalClick();
    TKelmorAyar AyarlariFormdanAl() const;
    void KlasorSec(QLineEdit* edit, const QString& baslik, bool yeniKlasor);

    TKelmorAyar FAyar;
    QLineEdit* edtHost = nullptr;
    QLineEdit* edtPort = nullptr;
    QLineEdit* edtKullanici = nullptr;
    QLineEdit* edtSifre = nullptr;
    QLineEdit* edtBin = nullptr;
    QLineEdit* edtKlasor = nullptr;
    QCheckBox* chkZip = nullptr;
    QLineEdit* edtAyarSifre = nullptr;
};
