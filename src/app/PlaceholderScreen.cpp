#include "app/PlaceholderScreen.h"

#include "uikit/FormHelpers.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderScreen::PlaceholderScreen(const QString& objectName, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(objectName);
    setWindowTitle(title);
    auto* text = new QLabel(QStringLiteral("「%1」尚在建置中。").arg(title), this);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    resize(480, 240);
    CenterForm(this);
}
