#include "core/text/Clock.h"

namespace {
QDateTime& FixedNow()
{
    static QDateTime fixed;
    return fixed;
}
}

QDateTime Now()
{
    return FixedNow().isValid() ? FixedNow() : QDateTime::currentDateTime();
}

QDate Today()
{
    return Now().date();
}

void SetFixedNow(const QDateTime& now)
{
    FixedNow() = now;
}

void ClearFixedNow()
{
    FixedNow() = QDateTime();
}
