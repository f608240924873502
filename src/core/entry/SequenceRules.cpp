#include "core/entry/SequenceRules.h"

#include "core/data/SqlFunctions.h"

#include <cmath>

double SequenceValue(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return db::LeadingNumber(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

int NextSequenceNumber(const QStringList& sequenceTexts)
{
    double largest = 0.0;
    for (const QString& text : sequenceTexts)
        largest = std::max(largest, SequenceValue(text));
    // nearbyint rounds in the default mode: to nearest, ties to even.
    return static_cast<int>(std::nearbyint(largest + 1.0));
}
