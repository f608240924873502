#include "gui/uikit/InputBehaviour.h"

#include "core/text/KeyFilter.h"
#include "gui/uikit/FormHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kUpperOnly = -1;

class KeyFilterObject : public QObject {
public:
    KeyFilterObject(QLineEdit* box, int kind) : QObject(box), m_box(box), m_kind(kind)
    {
        QObject::connect(box, &QLineEdit::textEdited, this, [this](const QString& text) { clean(text); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier))
            return false;
        const int code = text.at(0).unicode();
        const int accepted = accept(code);
        if (accepted == code)
            return false;
        if (accepted != 0 && !m_box->isReadOnly())
            m_box->insert(QString(QChar(static_cast<char16_t>(accepted))));
        return true;
    }

private:
    int accept(int code) const { return m_kind == kUpperOnly ? UpperKey(code) : KeyFilter(code, m_kind); }

    // Paste and drop bypass the key filter; clean what they brought in.
    void clean(const QString& text)
    {
        const QString kept = m_kind == kUpperOnly ? UpperText(text) : FilterText(text, m_kind);
        if (kept != text) {
            const int cursor = m_box->cursorPosition() - static_cast<int>(text.size() - kept.size());
            m_box->setText(kept);
            m_box->setCursorPosition(qMax(0, cursor));
        }
    }

    QLineEdit* m_box;
    int m_kind;
};

class ScreenConventions : public QObject {
public:
    explicit ScreenConventions(QWidget* screen) : QObject(screen), m_screen(screen) {}

    // Tabs, line breaks and other control characters cannot be typed into a
    // box; pasted or dropped, they would be stored unseen.
    static void dropControlCharacters(QLineEdit* box)
    {
        QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
            QString kept = text;
            kept.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
            if (kept.size() == text.size())
                return;
            const int cursor = box->cursorPosition() - static_cast<int>(text.size() - kept.size());
            box->setText(kept);
            box->setCursorPosition(qMax(0, cursor));
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_screen)
            return false;
        if ((qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractButton*>(widget))
            && HandleEnterKey(watched, event, m_screen))
            return true;
        if (event->type() == QEvent::FocusIn) {
            if (auto* box = qobject_cast<QLineEdit*>(widget)) {
                // After the mouse press that gave the focus has placed the caret.
                QPointer<QLineEdit> guarded(box);
                QTimer::singleShot(0, box, [guarded] {
                    if (guarded && guarded->hasFocus())
                        SelectAllText(guarded);
                });
            }
        }
        return false;
    }

private:
    QWidget* m_screen;
};

bool HandlesEnter(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        if (w->property("handlesEnter").toBool())
            return true;
    }
    return false;
}

} // namespace

bool HandleEnterKey(QObject* watched, QEvent* event, QWidget* window)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || key->modifiers() & ~Qt::KeypadModifier || widget->window() != window || HandlesEnter(widget, window))
        return false;
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button && !button->isCheckable() && button->isEnabled()) {
        button->click();
        return true;
    }
    // The same as the user pressing Tab.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
    return true;
}

void InstallKeyFilter(QLineEdit* box, int kind)
{
    box->installEventFilter(new KeyFilterObject(box, kind));
}

void InstallUpperCase(QLineEdit* box)
{
    box->installEventFilter(new KeyFilterObject(box, kUpperOnly));
}

void InstallScreenConventions(QWidget* screen)
{
    auto* conventions = new ScreenConventions(screen);
    for (QLineEdit* box : screen->findChildren<QLineEdit*>()) {
        box->installEventFilter(conventions);
        ScreenConventions::dropControlCharacters(box);
    }
    for (QAbstractButton* button : screen->findChildren<QAbstractButton*>())
        button->installEventFilter(conventions);
}
