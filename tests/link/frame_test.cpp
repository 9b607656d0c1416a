#include "TestSupport.h"
#include "link/Frame.h"

#include <gtest/gtest.h>

TEST(Frame, CheckValueOfTheParameterSet)
{
    EXPECT_EQ(Frame::Crc("123456789", 9), 0x31C3);
    // CrcOfByte gives the entries of the usual table.
    EXPECT_EQ(Frame::CrcOfByte(1, 0x1021, 0), 0x1021);
    EXPECT_EQ(Frame::CrcOfByte(255, 0x1021, 0), 0x1EF0);
}

TEST(Frame, RequestFrames)
{
    struct Case {
        char sub;
        QByteArray payload;
        const char *hex;
    };
    const Case table[] = {
        {'w', {}, "02 55 77 00 F0 24 03"},
        {'o', {}, "02 55 6F 00 2A AE 03"},
        {'s', {}, "02 55 73 00 34 E8 03"},
        {'t', {}, "02 55 74 00 A3 71 03"},
        {'l', {}, "02 55 6C 00 79 FB 03"},
        {'p', {}, "02 55 70 00 67 BD 03"},
        {'k', bytes({0}), "02 55 6B 01 00 D5 91 03"},
        {'k', bytes({1}), "02 55 6B 01 01 F4 81 03"},
        {'k', bytes({2}), "02 55 6B 01 02 97 B1 03"},
        {'u', bytes({0}), "02 55 75 01 00 B7 C9 03"},
        {'u', bytes({1}), "02 55 75 01 01 96 D9 03"},
        {'v', bytes({1, 0}), "02 55 76 02 01 00 D8 0E 03"},
    };
    for (const Case &c : table)
        EXPECT_EQ(Frame::Build(c.sub, c.payload).toHex(' '), fromHex(c.hex).toHex(' ')) << c.sub;
    EXPECT_EQ(Frame::Build('c', bytes({2, 4, 0, 2, 2})).size(), 12);
}

TEST(Frame, CompleteFrameIsRecognised)
{
    QByteArray whole = Frame::Build('v', QByteArray(203, '\x11'));
    EXPECT_TRUE(Frame::IsComplete(whole.constData(), whole.size()));
    EXPECT_FALSE(Frame::IsComplete(whole.constData(), whole.size() - 1)) << "missing its last byte";
    QByteArray changed = whole;
    changed[10] = '\x12';
    EXPECT_FALSE(Frame::IsComplete(changed.constData(), changed.size())) << "one byte changed";
    EXPECT_FALSE(Frame::IsComplete("\x03", 1));
}
