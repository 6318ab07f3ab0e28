#pragma once
#include "core/uConfig.h"

#include <QWidget>

class QLabel;
class TLinkEtiket;

// The main window: two buttons that open the backup and restore wizards, the
// connection and last-backup lines, and the "Log" and " Ayarlar" links. It holds
// the program's working copy of the settings: loads them (or writes the defaults
// at the very first start), hands copies to the dialogs and saves what the
// settings dialog returns.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // Creating the window loads the settings; at the first start this shows the
    // welcome box, and the settings dialog follows once the window is shown.
    explicit TfrmMain(QWidget* parent = nullptr);

    TKelmorAyar Ayar() const { return FAyar; }

public Q_SLOTS:
    // The " Ayarlar" link: the settings password (when set), then the dialog.
    void lblAyarlarClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void btnYedekAlClick();
    void btnGeriYukleClick();
    void lblLogAcClick();
    void LinkGirdi(QLabel* link);
    void LinkCikti(QLabel* link);
    void DurumuGuncelle();
    bool AyarGerekli(const QString& metin);
    // Saves FAyar; an error is shown as the error box with its text. False when it failed.
    bool Kaydet();

    TKelmorAyar FAyar;
    bool FAyarlariAc = false; // open the settings dialog once the window is shown
    QLabel* lblDurum = nullptr;
    QLabel* lblSonYedek = nullptr;
};
