#include "gui/uikit/FormHelpers.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QVariant>

namespace {

const QColor kLockedKeyBackground(255, 255, 192);
constexpr int kTaskbarAllowancePx = 28;

// A QLineEdit that belongs to a composite widget (combo box, spin box, grid
// editor) is not a text box of the screen.
bool IsTextBox(const QLineEdit* box)
{
    for (const QObject* p = box->parent(); p; p = p->parent()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)
            || qobject_cast<const QAbstractItemView*>(p))
            return false;
        if (p->isWidgetType() && static_cast<const QWidget*>(p)->isWindow())
            break;
    }
    return true;
}

bool IsMarked(const QWidget* control)
{
    return control->property(kTagProperty).toString() == QLatin1String("-1");
}

template <typename Act>
void ForEachInput(QWidget* screen, Act act)
{
    for (QLineEdit* box : screen->findChildren<QLineEdit*>()) {
        if (IsTextBox(box))
            act(box, box);
    }
    for (QComboBox* combo : screen->findChildren<QComboBox*>())
        act(combo, combo);
}

void SetBase(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

// A box that cannot be typed in must look it: the window's own colour behind
// its text, where an editable box shows the white of a field.
void SetReadOnly(QWidget* control, bool readOnly)
{
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->setReadOnly(readOnly);
        const QPalette standard = QApplication::palette(box);
        SetBase(box, standard.color(readOnly ? QPalette::Window : QPalette::Base));
    }
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEnabled(!readOnly);
}

} // namespace

void SetTag(QWidget* control, const char* tag)
{
    control->setProperty(kTagProperty, QString::fromLatin1(tag));
}

void ClearControls(QWidget* screen)
{
    ForEachInput(screen, [](QWidget* control, auto* typed) {
        if (!IsMarked(control))
            typed->clear();
    });
}

void LockControls(QWidget* screen)
{
    ForEachInput(screen, [](QWidget* control, auto*) { SetReadOnly(control, true); });
}

void UnlockControls(QWidget* screen)
{
    ForEachInput(screen, [](QWidget* control, auto*) {
        if (!IsMarked(control))
            SetReadOnly(control, false);
    });
}

void LockField(QWidget* control)
{
    SetReadOnly(control, true);
    control->setFocusPolicy(Qt::ClickFocus);
}

void UnlockField(QWidget* control)
{
    SetReadOnly(control, false);
    control->setFocusPolicy(Qt::StrongFocus);
}

void LockKeyField(QWidget* control)
{
    LockField(control);
    SetBase(control, kLockedKeyBackground);
}

void UnlockKeyField(QWidget* control)
{
    UnlockField(control);
}

void SelectAllText(QLineEdit* box)
{
    const int length = static_cast<int>(box->text().size());
    box->setSelection(length, -length);
}

void PadDateField(QLineEdit* box, int width)
{
    const int n = width <= 0 ? 7 : width;
    const QString text = box->text();
    if (text.size() != n - 1)
        return;
    for (const QChar c : text) {
        if (!c.isDigit())
            return;
    }
    box->setText(QLatin1Char('0') + text);
}

namespace {

void PlaceInCentre(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height() - kTaskbarAllowancePx) / 2);
}

// Centres the window again when it is shown: a screen may still change its
// size after asking to be centred (layouts, panels, a later resize).
class CentreOnShow : public QObject {
public:
    static constexpr const char* kName = "centreOnShow";

    explicit CentreOnShow(QWidget* window) : QObject(window)
    {
        setObjectName(QLatin1String(kName));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            PlaceInCentre(static_cast<QWidget*>(watched));
            deleteLater();
        }
        return false;
    }
};

} // namespace

void CenterForm(QWidget* window)
{
    PlaceInCentre(window);
    if (!window->isVisible()
        && !window->findChild<QObject*>(QLatin1String(CentreOnShow::kName), Qt::FindDirectChildrenOnly))
        new CentreOnShow(window);
}
