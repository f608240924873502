#include "gui/uikit/FirstActivation.h"

#include "gui/uikit/MessageBox.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class FirstActivationFilter : public QObject {
public:
    FirstActivationFilter(QWidget* window, std::function<void()> action)
        : QObject(window), m_window(window), m_action(std::move(action))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && !m_done) {
            if (event->type() == QEvent::WindowActivate) {
                run();
            } else if (event->type() == QEvent::Show) {
                QPointer<FirstActivationFilter> self(this);
                QTimer::singleShot(0, this, [self] {
                    if (self)
                        self->run();
                });
            }
        }
        return false;
    }

private:
    void run()
    {
        if (m_done)
            return;
        m_done = true;
        // The screen comes to the front, and what it says as it opens is its own.
        m_window->raise();
        m_window->activateWindow();
        const MessageOwner owner(m_window);
        m_action();
    }

    QWidget* m_window;
    std::function<void()> m_action;
    bool m_done = false;
};

} // namespace

void OnFirstActivation(QWidget* window, std::function<void()> action)
{
    window->installEventFilter(new FirstActivationFilter(window, std::move(action)));
}
