#include "SimOptions.h"

#include "common/NumberText.h"

#include <QCommandLineParser>

std::optional<SimOptions> ParseSimOptions(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated PX510 tester on a pseudo-terminal. It prints the terminal's device and answers the "
                       "workstation's commands until it is interrupted."));
    parser.addHelpOption();
    const QCommandLineOption link("link", "Make PATH a symbolic link to the terminal's device.", "PATH");
    const QCommandLineOption seed("seed", "Seed of the traced surfaces (default 1).", "N", "1");
    const QCommandLineOption measure("measure-seconds", "Time a measurement takes (default 5).", "S", "5");
    const QCommandLineOption pace("pace", "Send and receive at the line rate, 9600 bit/s, 11 bits a byte.");
    const QCommandLineOption turnaround("turnaround", "Delay before each reply.", "MS", "0");
    const QCommandLineOption drop("drop-rate", "Share of replies not sent.", "P", "0");
    const QCommandLineOption corrupt("corrupt-rate", "Share of replies with one byte changed.", "P", "0");
    const QCommandLineOption split("split", "Send replies in random pieces with gaps under 80 ms.");
    const QCommandLineOption errorReply("error", "Answer sub-command LETTER with an error reply of CODE.",
                                        "LETTER:CODE");
    const QCommandLineOption vanish("vanish-after", "Close the terminal after N replies.", "N");
    const QCommandLineOption latePacket(
        "late-packet", "In every download, send the first reply to profile packet K MS milliseconds late.", "K:MS");
    const QCommandLineOption corruptPacket("corrupt-packet",
                                           "In every download, damage the first N replies to profile packet K.", "K:N");
    const QCommandLineOption replyChecksum(
        "reply-checksum", "What replies carry where the checksum goes: crc (the request rule) or zero.", "KIND", "crc");
    parser.addOptions({link, seed, measure, pace, turnaround, drop, corrupt, split, errorReply, vanish, latePacket,
                       corruptPacket, replyChecksum});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet("help")) {
        error = parser.helpText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }

    SimOptions options;
    auto number = [&](const QCommandLineOption &option, double low, double high) -> std::optional<double> {
        const QString text = parser.value(option);
        const auto value = NumberText::parseDouble(text);
        if (!value || *value < low || *value > high) {
            error = QStringLiteral("--%1: %2 is not a number from %3 to %4")
                        .arg(option.names().first(), text)
                        .arg(low)
                        .arg(high);
            return std::nullopt;
        }
        return value;
    };
    options.Link = parser.value(link);
    const auto seedValue = number(seed, 0, 4294967295.0);
    const auto measureValue = number(measure, 0, 3600);
    const auto turnaroundValue = number(turnaround, 0, 60000);
    const auto dropValue = number(drop, 0, 1);
    const auto corruptValue = number(corrupt, 0, 1);
    if (!seedValue || !measureValue || !turnaroundValue || !dropValue || !corruptValue)
        return std::nullopt;
    options.Seed = uint32_t(*seedValue);
    options.MeasureSeconds = *measureValue;
    options.TurnaroundMs = int(*turnaroundValue);
    options.DropRate = *dropValue;
    options.CorruptRate = *corruptValue;
    options.Pace = parser.isSet(pace);
    options.Split = parser.isSet(split);
    if (parser.isSet(vanish)) {
        const auto n = number(vanish, 0, 1e9);
        if (!n)
            return std::nullopt;
        options.VanishAfter = int(*n);
    }
    for (const QString &entry : parser.values(errorReply)) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        const auto code = parts.size() == 2 ? NumberText::parseInt(parts[1]) : std::nullopt;
        if (parts.size() != 2 || parts[0].size() != 1 || !code || *code < 0 || *code > 255) {
            error = QStringLiteral("--error: %1 is not LETTER:CODE with a code from 0 to 255").arg(entry);
            return std::nullopt;
        }
        options.ErrorReplies[parts[0][0].toLatin1()] = *code;
    }
    // K:VALUE pairs, K a packet number 1 .. 30.
    auto pairs = [&](const QCommandLineOption &option, int highest, std::map<int, int> &into) {
        for (const QString &entry : parser.values(option)) {
            const QStringList parts = entry.split(QLatin1Char(':'));
            const auto packet = parts.size() == 2 ? NumberText::parseInt(parts[0]) : std::nullopt;
            const auto value = parts.size() == 2 ? NumberText::parseInt(parts[1]) : std::nullopt;
            if (!packet || !value || *packet < 1 || *packet > 30 || *value < 0 || *value > highest) {
                error = QStringLiteral("--%1: %2 is not K:N with a packet K from 1 to 30 and N from 0 to %3")
                            .arg(option.names().first(), entry)
                            .arg(highest);
                return false;
            }
            into[*packet] = *value;
        }
        return true;
    };
    if (!pairs(latePacket, 60000, options.LatePackets) || !pairs(corruptPacket, 1000, options.CorruptPackets))
        return std::nullopt;
    const QString checksum = parser.value(replyChecksum);
    if (checksum != QLatin1String("crc") && checksum != QLatin1String("zero")) {
        error = QStringLiteral("--reply-checksum: %1 is neither crc nor zero").arg(checksum);
        return std::nullopt;
    }
    options.ZeroReplyChecksum = checksum == QLatin1String("zero");
    return options;
}
