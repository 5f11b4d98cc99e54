#include "gui/app/lock_indicators.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace velorin::gui {

namespace {

QLabel *Pane(QStatusBar &bar, const char *text, const char *name, const char *meaning) {
    auto *pane = new QLabel(text, &bar);
    pane->setObjectName(name);
    pane->setAccessibleDescription(meaning);
    pane->setToolTip(meaning);
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance("SCRL") + 10);
    bar.addPermanentWidget(pane);
    return pane;
}

// X11 key-state bits: Lock and Mod2 (Num Lock on nearly every keyboard map).
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11NumMask = 0x10;

}  // namespace

LockIndicators::LockIndicators(QStatusBar &statusBar) : QObject(&statusBar) {
    capsPane_ = Pane(statusBar, "CAP", "capsLockPane", "Shows CAP while Caps Lock is on");
    numPane_ = Pane(statusBar, "NUM", "numLockPane", "Shows NUM while Num Lock is on");
    scrollPane_ = Pane(statusBar, "SCRL", "scrollLockPane", "Shows SCRL while Scroll Lock is on");
    if (qApp != nullptr) qApp->installEventFilter(this);
    Show();
}

bool LockIndicators::eventFilter(QObject *watched, QEvent *event) {
    // Every key press reaches its window exactly once; widgets may see it several times.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        // The X11 state is the one before this key, so a lock key itself still toggles.
        if (x11 && key->nativeModifiers() != 0) {
            caps_ = (key->nativeModifiers() & kX11LockMask) != 0;
            num_ = (key->nativeModifiers() & kX11NumMask) != 0;
        }
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_CapsLock) caps_ = !caps_;
            if (key->key() == Qt::Key_NumLock) num_ = !num_;
            if (key->key() == Qt::Key_ScrollLock) scroll_ = !scroll_;
        }
        Show();
    }
    return QObject::eventFilter(watched, event);
}

void LockIndicators::Show() {
    // An idle indicator keeps its place but shows no text.
    capsPane_->setText(caps_ ? "CAP" : "");
    numPane_->setText(num_ ? "NUM" : "");
    scrollPane_->setText(scroll_ ? "SCRL" : "");
}

}  // namespace velorin::gui
