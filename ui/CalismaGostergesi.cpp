#include "ui/CalismaGostergesi.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QTimer>

TCalismaGostergesi::TCalismaGostergesi(QWidget* ust)
    : QWidget(ust), m_bar(new QProgressBar(this)), m_durum(new QLabel(this)), m_zamanlayici(new QTimer(this))
{
    setObjectName(QStringLiteral("pnlCalisiyor"));
    m_bar->setObjectName(QStringLiteral("pbCalisiyor"));
    m_durum->setObjectName(QStringLiteral("lblCalismaDurumu"));
    m_bar->setRange(0, 0); // busy: the tools tell no percentage
    m_bar->setTextVisible(false);
    m_bar->setFixedWidth(160);
    auto* d = new QHBoxLayout(this);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(m_bar);
    d->addWidget(m_durum, 1);
    m_zamanlayici->setInterval(500);
    connect(m_zamanlayici, &QTimer::timeout, this, &TCalismaGostergesi::Guncelle);
    hide();
}

void TCalismaGostergesi::Baslat(const QString& izlenenKlasor)
{
    m_klasor = izlenenKlasor;
    m_baslangic = QDateTime::currentDateTime();
    m_sure.start();
    Guncelle();
    show();
    m_zamanlayici->start();
}

void TCalismaGostergesi::Durdur()
{
    m_zamanlayici->stop();
    hide();
}

QString TCalismaGostergesi::DurumMetni() const { return m_durum->text(); }

void TCalismaGostergesi::Guncelle()
{
    const qint64 sn = m_sure.isValid() ? m_sure.elapsed() / 1000 : 0;
    QString metin = QStringLiteral("Geçen süre: %1:%2")
                        .arg(sn / 60, 2, 10, QLatin1Char('0'))
                        .arg(sn % 60, 2, 10, QLatin1Char('0'));
    if (!m_klasor.isEmpty()) {
        // The run names its file by the clock; the newest one written since the start is ours.
        const QFileInfoList dosyalar =
            QDir(m_klasor).entryInfoList({QStringLiteral("*.sql"), QStringLiteral("*.zip")}, QDir::Files,
                                         QDir::Time);
        for (const QFileInfo& fi : dosyalar) {
            if (fi.lastModified() < m_baslangic.addSecs(-2))
                break;
            metin += QStringLiteral("  —  Yedek dosyası: ") +
                     QLocale::system().formattedDataSize(fi.size(), 1, QLocale::DataSizeTraditionalFormat);
            break;
        }
    }
    m_durum->setText(metin);
}
