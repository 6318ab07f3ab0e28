#include "ui/uRestoreWizard.h"

struct TfrmRestoreWizard::Ic {
    TKelmorAyar FAyar;
};

TfrmRestoreWizard::TfrmRestoreWizard(QWidget* owner) : QDialog(owner), d(new Ic) {}
TfrmRestoreWizard::~TfrmRestoreWizard() { delete d; }
void TfrmRestoreWizard::SetAyar(const TKelmorAyar& ayar) { d->FAyar = ayar; }
TKelmorAyar TfrmRestoreWizard::Ayar() const { return d->FAyar; }
