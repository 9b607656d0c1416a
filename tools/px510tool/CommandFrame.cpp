// px510tool frame LETTER [HEXBYTE ...]: the request frame, as hex.

#include "Command.h"

#include "link/Frame.h"

int CommandFrame(const QStringList &args)
{
    if (args.isEmpty())
        throw UsageError("the sub-command letter is missing");
    const QString &letter = args.first();
    if (letter.size() != 1 || letter.at(0).unicode() > 0x7F)
        throw UsageError("the sub-command must be one ASCII character, not '" + letter.toStdString() + "'");
    QByteArray payload;
    for (const QString &word : args.mid(1)) {
        bool ok = false;
        uint value = word.toUInt(&ok, 16);
        if (!ok || value > 0xFF || word.size() > 2)
            throw UsageError("'" + word.toStdString() + "' is not a hex byte (00 .. FF)");
        payload.append(static_cast<char>(value));
    }
    if (payload.size() > 255)
        throw UsageError("a payload holds at most 255 bytes");
    QByteArray frame = Frame::Build(letter.at(0).toLatin1(), payload);
    Tool::print(frame.toHex(' ').toUpper().toStdString() + "\n");
    return 0;
}
