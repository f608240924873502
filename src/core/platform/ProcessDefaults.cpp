#include "core/platform/ProcessDefaults.h"

#include "core/platform/HeapTuning.h"

#include <QFont>
#include <QLocale>

void SetProcessDefaults()
{
    KeepFreedMemoryForReuse();
    QFont::insertSubstitutions(QStringLiteral("新細明體"),
                               {QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing HK")});
    QFont::insertSubstitutions(QStringLiteral("標楷體"),
                               {QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UKai HK")});
    // Screens use a sans-serif face whose Latin letters read clearly (l is
    // not 1); reports keep the fonts above.
    QFont::insertSubstitutions(QStringLiteral("Noto Sans CJK TC"),
                               {QStringLiteral("Noto Sans TC"), QStringLiteral("AR PL UMing TW")});
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
}
