#pragma once
#include "core/uConfig.h"

#include <QDialog>

// The restore wizard: mode, source file (and tables), target database, then the
// run with its live log. The opener hands it a copy of the settings through
// SetAyar; it never saves them.
// exec() gives Accepted when left with "Kapat", Rejected otherwise.
class TfrmRestoreWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRestoreWizard(QWidget* owner = nullptr);
    ~TfrmRestoreWizard() override;

    void SetAyar(const TKelmorAyar& ayar);
    TKelmorAyar Ayar() const;

private:
    struct Ic;
    Ic* d;
};
