#include "gui/uikit/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    release();
}

void BusyCursor::release()
{
    if (!m_active)
        return;
    m_active = false;
    QGuiApplication::restoreOverrideCursor();
}
