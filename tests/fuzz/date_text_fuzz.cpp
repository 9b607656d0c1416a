// Feeds arbitrary text to the date-text readers, under several locales, and
// arbitrary day counts to the writers. A text read gives a finite day count
// whose text reads back to the same second; a writer never misbehaves,
// whatever number it is given.

#include "FuzzInput.h"

#include "common/DateTimeText.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "date text: %s\n", what);
        std::abort();
    }
}

constexpr double Second = 1.0 / 86400;

bool sameSecond(double a, double b)
{
    return std::fabs(a - b) < Second / 2;
}

void checkRead(std::optional<double> days, QString (*write)(double), std::optional<double> (*read)(const QString &),
               const char *what)
{
    if (!days)
        return;
    require(std::isfinite(*days), what);
    const std::optional<double> again = read(write(*days));
    require(again && sameSecond(*again, *days), what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Chinese, QLocale::China),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    FuzzInput input(data, size);
    QLocale::setDefault(locales[input.Pick(4)]);
    const double anyDays = input.Double();
    const QString text = QString::fromUtf8(input.Rest());

    checkRead(DateTimeText::parseRecordText(text), &DateTimeText::recordText, &DateTimeText::parseRecordText,
              "record text does not read back");
    checkRead(DateTimeText::parseStorageText(text), &DateTimeText::storageText, &DateTimeText::parseStorageText,
              "storage text does not read back");
    checkRead(DateTimeText::parseDisplayText(text), &DateTimeText::displayText, &DateTimeText::parseDisplayText,
              "display text does not read back");
    if (const std::optional<double> days = DateTimeText::parseRecordText(text))
        require(DateTimeText::recordText(*days).size() <= 20, "record text longer than its 20 characters");

    // The writers take any number, including ones no reader gives.
    DateTimeText::recordText(anyDays);
    DateTimeText::storageText(anyDays);
    DateTimeText::displayText(anyDays);
    return 0;
}
