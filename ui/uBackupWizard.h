#pragma once
#include "core/uConfig.h"

#include <QDialog>

// The backup wizard: mode, database (and tables), target folder, then the run
// with its live log. The opener hands it a copy of the settings through SetAyar;
// after a successful backup it saves its copy to the settings file.
// exec() gives Accepted when left with "Kapat", Rejected otherwise.
class TfrmBackupWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackupWizard(QWidget* owner = nullptr);
    ~TfrmBackupWizard() override;

    void SetAyar(const TKelmorAyar& ayar);
    TKelmorAyar Ayar() const;

private:
    struct Ic;
    Ic* d;
};
