#include "common/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

namespace {

// One conversion through iconv; unconvertible input is replaced, never dropped silently.
// Length of the input unit that starts at `lead`: a UTF-8 sequence or one byte.
size_t unitLength(bool utf8Input, unsigned char lead)
{
    if (!utf8Input || lead < 0xC0)
        return 1;
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

QByteArray convert(const char *to, const char *from, const QByteArray &input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return input;
    QByteArray out;
    std::vector<char> buffer(4 * static_cast<size_t>(input.size()) + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    while (inLeft > 0) {
        char *dst = buffer.data();
        size_t dstLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), static_cast<qsizetype>(buffer.size() - dstLeft));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: replace one input unit and go on.
            out.append('?');
            size_t skip = std::min(inLeft,
                                   unitLength(std::string_view(from) == "UTF-8", static_cast<unsigned char>(*in)));
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

namespace TextCodec {

QByteArray toGb2312(const QString &text)
{
    return convert("GB2312", "UTF-8", text.toUtf8());
}

QString fromGb2312(const QByteArray &bytes)
{
    QByteArray field = bytes;
    qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    return QString::fromUtf8(convert("UTF-8", "GB2312", field));
}

int gb2312Length(const QString &text)
{
    return static_cast<int>(toGb2312(text).size());
}

} // namespace TextCodec
