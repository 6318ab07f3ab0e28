#pragma once
#include "core/Ortak.h"

#include <QObject>
#include <QString>

#include <functional>

class QThread;

// Runs one long job (a backup or a restore) on a worker thread so that the window
// keeps painting. The job's progress lines arrive as Satir signals on the window's
// thread in the order the job told them; Bitti follows the last line once the
// thread has ended. Only one job runs at a time.
class TCalismaIsi : public QObject {
    Q_OBJECT
public:
    using Is = std::function<void(const TLogProc& log)>;

    explicit TCalismaIsi(QObject* ust = nullptr);
    // Waits for a running job: a run is never abandoned half way.
    ~TCalismaIsi() override;

    // Starts the job; false (and nothing started) while another still runs.
    bool Baslat(Is is);
    bool Calisiyor() const { return m_thread != nullptr; }

Q_SIGNALS:
    void Satir(const QString& satir);
    // kacanHata: the message of an error that escaped the job, empty when none did.
    void Bitti(const QString& kacanHata);

private:
    void ThreadBitti();

    QThread* m_thread = nullptr;
    QString m_kacanHata; // written by the worker before it ends, read after
};
