#include "core/text/TextBytes.h"

#include "core/platform/Platform.h"

#include <QHash>

namespace {

int CharacterBytes(QStringView character)
{
    if (character.size() == 1 && character.at(0).unicode() < 0x80)
        return 1;
    // Opening the converter costs far more than the answer: each character
    // is asked once per thread.
    thread_local QHash<QString, int> known;
    const QString key = character.toString();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    const int inBig5 = Big5Bytes(character);
    const int length = inBig5 > 0 ? inBig5 : 1;
    known.insert(key, length);
    return length;
}

// Walks the text by whole characters, never splitting a surrogate pair.
template <typename Visit>
void ForEachCharacter(const QString& text, Visit visit)
{
    for (int i = 0; i < text.size();) {
        const int width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!visit(i, QStringView(text).mid(i, width)))
            return;
        i += width;
    }
}

} // namespace

int Big5Length(const QString& text)
{
    int bytes = 0;
    ForEachCharacter(text, [&](int, QStringView c) {
        bytes += CharacterBytes(c);
        return true;
    });
    return bytes;
}

QString LeftBytes(const QString& text, int limit)
{
    int bytes = 0;
    int end = 0;
    ForEachCharacter(text, [&](int at, QStringView c) {
        const int next = bytes + CharacterBytes(c);
        if (next > limit)
            return false;
        bytes = next;
        end = at + static_cast<int>(c.size());
        return true;
    });
    return text.left(end);
}
