#include "ui/uBackupWizard.h"

struct TfrmBackupWizard::Ic {
    TKelmorAyar FAyar;
};

TfrmBackupWizard::TfrmBackupWizard(QWidget* owner) : QDialog(owner), d(new Ic) {}
TfrmBackupWizard::~TfrmBackupWizard() { delete d; }
void TfrmBackupWizard::SetAyar(const TKelmorAyar& ayar) { d->FAyar = ayar; }
TKelmorAyar TfrmBackupWizard::Ayar() const { return d->FAyar; }
