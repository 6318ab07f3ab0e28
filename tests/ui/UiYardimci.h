#pragma once
// Helpers for the window tests: answering the dialog seam, and acting on a modal
// window that a click opens with exec() (which blocks the test until it closes).
#include "ui/Diyaloglar.h"

#include <QApplication>
#include <QList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers every seam request and keeps them in order. By default everything is
// confirmed with an empty text; set `cevap` to choose.
struct SahteDiyalog {
    QList<Diyaloglar::Istek> istekler;
    std::function<Diyaloglar::Cevap(const Diyaloglar::Istek&)> cevap;

    SahteDiyalog()
    {
        Diyaloglar::CevaplayiciAyarla([this](const Diyaloglar::Istek& i) {
            istekler << i;
            return cevap ? cevap(i) : Diyaloglar::Cevap{};
        });
    }
    ~SahteDiyalog() { Diyaloglar::CevaplayiciAyarla({}); }
    SahteDiyalog(const SahteDiyalog&) = delete;
    SahteDiyalog& operator=(const SahteDiyalog&) = delete;

    // The message texts only, in order.
    QStringList Mesajlar() const
    {
        QStringList l;
        for (const auto& i : istekler)
            if (i.cesit == Diyaloglar::Istek::Cesit::Mesaj)
                l << i.metin;
        return l;
    }
};

// Runs `is` once a modal window of type T is open (polling the event loop that
// its exec() runs). Keep the object alive across the click that opens the
// window; it stops looking when it goes out of scope or after `sureMs`.
template <class T> class ModaldaYap {
public:
    explicit ModaldaYap(std::function<void(T*)> is, int sureMs = 30000)
        : m_is(std::move(is)), m_kalan(sureMs / 10)
    {
        QObject::connect(&m_zaman, &QTimer::timeout, [this] {
            if (T* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
                m_zaman.stop();
                m_yapildi = true;
                m_is(w);
                // A failed check inside must not leave the window waiting for ever.
                if (QTest::currentTestFailed() && w->isVisible())
                    w->close();
            } else if (--m_kalan <= 0) {
                m_zaman.stop();
            }
        });
        m_zaman.start(10);
    }
    ModaldaYap(const ModaldaYap&) = delete;
    ModaldaYap& operator=(const ModaldaYap&) = delete;
    bool Yapildi() const { return m_yapildi; }

private:
    std::function<void(T*)> m_is;
    int m_kalan;
    bool m_yapildi = false;
    QTimer m_zaman;
};

// A child found by object name; fails the test when it is missing.
template <class T> T* Bul(QWidget* ust, const char* ad)
{
    T* w = ust->findChild<T*>(QLatin1String(ad));
    if (!w)
        qFatal("no child %s", ad);
    return w;
}
