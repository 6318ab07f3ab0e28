#pragma once
// Helpers for the window tests: answering the dialog seam, and acting on a modal
// window that a click opens with exec() (which blocks the test until it closes).
#include "ui/Diyaloglar.h"

#include <QApplication>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

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
// its exec() runs). The returned flag tells whether it ran; the helper gives up
// after `sureMs`.
template <class T>
std::shared_ptr<bool> ModaldaYap(std::function<void(T*)> is, int sureMs = 20000)
{
    auto yapildi = std::make_shared<bool>(false);
    auto* zaman = new QTimer;
    auto kalan = std::make_shared<int>(sureMs / 10);
    zaman->setInterval(10);
    QObject::connect(zaman, &QTimer::timeout, [zaman, yapildi, kalan, is] {
        if (T* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            zaman->stop();
            zaman->deleteLater();
            *yapildi = true;
            is(w);
        } else if (--*kalan <= 0) {
            zaman->stop();
            zaman->deleteLater();
        }
    });
    zaman->start();
    return yapildi;
}

// A child found by object name; fails the test when it is missing.
template <class T>
T* Bul(QWidget* ust, const char* ad)
{
    T* w = ust->findChild<T*>(QLatin1String(ad));
    if (!w)
        qFatal("no child %s", ad);
    return w;
}
