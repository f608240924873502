#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// What went wrong, as far as a screen needs to tell cases apart.
enum class ErrorKind {
    DuplicateKey,   // a unique key refused the row
    Busy,           // another process held the file past the busy timeout
    NotADatabase,   // wrong password, a foreign file or a damaged one
    CannotOpen,     // missing file, unreadable folder
    Other
};

// Carries the engine's own text; screens show it as the message.
class DbError : public std::runtime_error {
public:
    DbError(ErrorKind kind, const QString& text)
        : std::runtime_error(text.toStdString()), m_kind(kind), m_text(text) {}

    ErrorKind kind() const { return m_kind; }
    const QString& text() const { return m_text; }

private:
    ErrorKind m_kind;
    QString m_text;
};

} // namespace db
