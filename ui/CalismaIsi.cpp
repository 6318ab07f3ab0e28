#include "ui/CalismaIsi.h"

#include <QThread>

TCalismaIsi::TCalismaIsi(QObject* ust) : QObject(ust) {}

TCalismaIsi::~TCalismaIsi()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool TCalismaIsi::Baslat(Is is)
{
    if (m_thread)
        return false;
    m_kacanHata.clear();
    m_thread = QThread::create([this, is = std::move(is)] {
        // Emitted on the worker; the receivers live on the window's thread, so each
        // line is queued there, in order, ahead of the thread's finished signal.
        const TLogProc log = [this](const QString& s) { Q_EMIT Satir(s); };
        try {
            is(log);
        } catch (const std::exception& e) {
            m_kacanHata = HataMesaji(e);
            if (m_kacanHata.isEmpty())
                m_kacanHata = QStringLiteral("Beklenmeyen hata");
        } catch (...) {
            m_kacanHata = QStringLiteral("Beklenmeyen hata");
        }
    });
    m_thread->setObjectName(QStringLiteral("KelmorCalisma"));
    connect(m_thread, &QThread::finished, this, &TCalismaIsi::ThreadBitti, Qt::QueuedConnection);
    m_thread->start();
    return true;
}

void TCalismaIsi::ThreadBitti()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    Q_EMIT Bitti(m_kacanHata);
}
