#pragma once
// Helpers for driving the wizards in tests: clicks on visible buttons only, and
// what the pages show.
#include "tests/ui/UiYardimci.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTest>

// Radio buttons and check boxes react on their box and text, not on the empty
// width a layout gives them.
inline QPoint TiklamaNoktasi(QAbstractButton* b)
{
    if (b->inherits("QRadioButton") || b->inherits("QCheckBox"))
        return QPoint(8, b->height() / 2);
    return b->rect().center();
}

// A person can click only what is shown.
#define TIKLA(w, ad)                                                                                                \
    do {                                                                                                            \
        QAbstractButton* b_ = Bul<QAbstractButton>(w, ad);                                                          \
        QVERIFY2(b_->isVisible() && b_->isEnabled(), qPrintable(QLatin1String(ad) + QLatin1String(" is not clickable")));                                     \
        QTest::mouseClick(b_, Qt::LeftButton, {}, TiklamaNoktasi(b_));                                                 \
    } while (0)

inline int Sayfa(QWidget* w) { return Bul<QStackedWidget>(w, "pcAdimlar")->currentIndex(); }
inline QString LogMetni(QWidget* w) { return Bul<QPlainTextEdit>(w, "memLog")->toPlainText(); }
inline QStringList OzetSatirlari(QWidget* w)
{
    return Bul<QPlainTextEdit>(w, "memOzet")->toPlainText().split(QLatin1Char('\n'));
}
inline QColor BaslikRengi(QWidget* w)
{
    return Bul<QLabel>(w, "lblSonucBaslik")->palette().color(QPalette::WindowText);
}
inline QStringList ListeOgeleri(QWidget* w)
{
    QStringList r;
    auto* l = Bul<QListWidget>(w, "lstTablolar");
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}
// Checks a table in the list as a click on its box would; false when it is not shown.
inline bool Isaretle(QWidget* w, const QString& ad)
{
    auto* l = Bul<QListWidget>(w, "lstTablolar");
    const auto bulunan = l->findItems(ad, Qt::MatchExactly);
    if (bulunan.size() != 1)
        return false;
    bulunan.first()->setCheckState(Qt::Checked);
    return true;
}

// An environment variable for the fake tools, removed at the end of the scope.
struct GeciciOrtam {
    QByteArray ad;
    GeciciOrtam(const char* a, const QByteArray& deger) : ad(a) { qputenv(a, deger); }
    ~GeciciOrtam() { qunsetenv(ad.constData()); }
    GeciciOrtam(const GeciciOrtam&) = delete;
    GeciciOrtam& operator=(const GeciciOrtam&) = delete;
};

// Long enough for a dump or a restore on a slow, shared machine.
constexpr int kCalismaSuresi = 120000;
