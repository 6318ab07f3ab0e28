#pragma once
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

// What the result page shows while a run goes on: a busy bar, the elapsed time
// and, for a backup, the size the new backup file has reached so far.
class TCalismaGostergesi : public QWidget {
    Q_OBJECT
public:
    explicit TCalismaGostergesi(QWidget* ust = nullptr);

    // Starts the clock and shows itself. With a folder, the newest .sql or .zip
    // written there since the start is watched and its size shown.
    void Baslat(const QString& izlenenKlasor = QString());
    void Durdur();

    QString DurumMetni() const;

private:
    void Guncelle();

    QProgressBar* m_bar;
    QLabel* m_durum;
    QTimer* m_zamanlayici;
    QElapsedTimer m_sure;
    QDateTime m_baslangic;
    QString m_klasor;
};
