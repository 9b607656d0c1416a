#pragma once
// The program's error vocabulary. Every entry point from Qt (action, slot,
// timer) catches these and shows the message; none travels through Qt itself.

#include <QString>
#include <stdexcept>

class PX510Error : public std::runtime_error {
public:
    explicit PX510Error(const QString &message) : std::runtime_error(message.toStdString()), Message(message) {}
    QString message() const { return Message; }

private:
    QString Message;
};

// A text that is not a number, a date text that cannot be read.
class ConversionError : public PX510Error {
    using PX510Error::PX510Error;
};
// A file that cannot be opened, read or written.
class FileError : public PX510Error {
    using PX510Error::PX510Error;
};
// A measurement record whose bytes cannot be taken over.
class RecordError : public PX510Error {
    using PX510Error::PX510Error;
};
// The measurement database refused or failed a statement.
class DatabaseError : public PX510Error {
    using PX510Error::PX510Error;
};

// Typed or pasted text as a message quotes it: long input is cut, so that
// the message stays readable.
inline QString QuotedInput(const QString &text)
{
    constexpr int Shown = 40;
    return text.size() <= Shown ? text : text.left(Shown) + QStringLiteral("…");
}
