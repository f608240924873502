#include "core/platform/ProcessDefaults.h"

#include "core/platform/Platform.h"

#include <QFont>
#include <QLocale>

void SetProcessDefaults()
{
    KeepFreedMemoryForReuse();
    // Windows knows the report fonts by their English names too.
    QFont::insertSubstitutions(QStringLiteral("新細明體"), {QStringLiteral("PMingLiU"), QStringLiteral("AR PL UMing TW"),
                                                        QStringLiteral("AR PL UMing HK")});
    QFont::insertSubstitutions(QStringLiteral("標楷體"), {QStringLiteral("DFKai-SB"), QStringLiteral("AR PL UKai TW"),
                                                      QStringLiteral("AR PL UKai HK")});
    // Screens use a sans-serif face whose Latin letters read clearly (l is
    // not 1): Windows' own Traditional Chinese face where there is no Noto;
    // reports keep the fonts above.
    QFont::insertSubstitutions(QStringLiteral("Noto Sans CJK TC"),
                               {QStringLiteral("Noto Sans TC"), QStringLiteral("Microsoft JhengHei"),
                                QStringLiteral("微軟正黑體"), QStringLiteral("AR PL UMing TW")});
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
}
