#include "windows/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace WindowPlacement {

namespace {

// The frame the window manager puts around `window`; before the window is
// first shown it has none yet, and its parent's frame is the best guess.
QMargins frameMargins(const QWidget *window)
{
    for (const QWidget *w = window; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QRect frame = w->frameGeometry(), inner = w->geometry();
        const QMargins m(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                         frame.bottom() - inner.bottom());
        if (!m.isNull())
            return m;
    }
    return {};
}

const QWidget *owner(const QWidget *window)
{
    return window->parentWidget() ? window->parentWidget()->window() : nullptr;
}

bool placeable(const QWidget *w)
{
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

class KeepCentred : public QObject {
public:
    explicit KeepCentred(QWidget *window) : QObject(window), m_window(window)
    {
        if (owner(window))
            const_cast<QWidget *>(owner(window))->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_window || !placeable(m_window))
            return false;
        if (watched != m_window) {
            // The window it belongs to was placed by the window manager only
            // now (a question asked as the program starts), or was moved:
            // it follows.
            if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && m_window->isVisible())
                centreSoon();
            return false;
        }
        if (event->type() == QEvent::Show) {
            centre(m_window);   // with the size known now
            // ... and again once the window manager has put its frame around it.
            centreSoon();
        } else if (event->type() == QEvent::Resize && !event->spontaneous() && m_window->isVisible()) {
            // The window sized itself to its contents (a message box to its
            // text); one the user resizes stays where the user has it.
            centreSoon();
        }
        return false;
    }

private:
    // Once the events being handled have run their course, if still shown.
    void centreSoon()
    {
        QTimer::singleShot(0, m_window, [w = m_window] {
            if (w && w->isVisible() && placeable(w))
                centre(w);
        });
    }

    QPointer<QWidget> m_window;
};

} // namespace

QPoint centredWithin(QSize frame, const QRect &over, const QRect &available)
{
    QPoint p = over.center() - QPoint(frame.width() / 2, frame.height() / 2);
    if (available.isValid()) {
        p.setX(qMax(available.left(), qMin(p.x(), available.right() + 1 - frame.width())));
        p.setY(qMax(available.top(), qMin(p.y(), available.bottom() + 1 - frame.height())));
    }
    return p;
}

QRect availableGeometry(const QWidget *window)
{
    const QWidget *on = owner(window) ? owner(window) : window;
    if (QScreen *screen = on->screen())
        return screen->availableGeometry();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {};
}

QSize boundedSize(QSize wanted, const QWidget *window)
{
    const QRect available = availableGeometry(window);
    if (!available.isValid())
        return wanted;
    const QMargins m = frameMargins(window);
    return wanted.boundedTo(available.size().shrunkBy(m).expandedTo(QSize(1, 1)));
}

void centre(QWidget *window)
{
    const QRect available = availableGeometry(window);
    const QMargins m = frameMargins(window);
    const QSize size = boundedSize(window->size(), window);
    if (size != window->size())
        window->resize(size);
    const QWidget *parent = owner(window);
    const QRect over = parent && parent->isVisible() ? parent->frameGeometry() : available;
    // move() places the frame's corner for a top-level window.
    window->move(centredWithin(size.grownBy(m), over, available));
}

void keepCentred(QWidget *window)
{
    window->installEventFilter(new KeepCentred(window));
}

} // namespace WindowPlacement
