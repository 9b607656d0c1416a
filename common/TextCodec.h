#pragma once
// GB2312 bytes appear only where bytes are counted or stored: the result
// listing widths and the date text inside a measurement record.

#include <QByteArray>
#include <QString>

namespace TextCodec {
// Unicode -> GB2312. Characters without a GB2312 code become '?'.
QByteArray toGb2312(const QString &text);
// GB2312 -> Unicode. Stops at the first NUL byte (fixed-width fields).
QString fromGb2312(const QByteArray &bytes);
// Number of GB2312 bytes the text takes ("μ" counts two).
int gb2312Length(const QString &text);
} // namespace TextCodec
