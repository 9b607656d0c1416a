#pragma once
// A session on a scripted port and scripted dialogs: what the windows of the
// link and the settings dialog work on in their tests.

#include "ScriptedDialogs.h"
#include "TestSupport.h"
#include "link/ComToPX510Unit.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"

#include <gtest/gtest.h>

#include <QString>
#include <memory>

class FormsFixture : public ::testing::Test {
protected:
    void SetUp() override { Session.UseComm(Fake); }

    // Connected on port 1, with the handshake's frames forgotten.
    void Connect()
    {
        Fake->Present.insert(Port);
        Fake->QueueFrame(Port, 'a');
        ASSERT_TRUE(Session.Connect());
        Fake->Log.clear();
        Sent = Fake->Written(Port).size();
    }
    void Reply(char code, const QByteArray &payload = {}) { Fake->QueueFrame(Port, code, payload); }
    void NoReply() { Fake->QueueReply(Port, {}); }

    // Sub-command letters of the frames written since Connect, e.g. "tlk".
    QString SubCommands() const
    {
        QString letters;
        const auto frames = Fake->Written(Port);
        for (size_t i = Sent; i < frames.size(); ++i)
            letters += QLatin1Char(frames[i].at(2));
        return letters;
    }
    // Payload of the n-th frame written since Connect.
    QByteArray PayloadOf(size_t n) const
    {
        const QByteArray frame = Fake->Written(Port).at(Sent + n);
        return frame.mid(4, static_cast<uint8_t>(frame.at(3)));
    }

    static constexpr int Port = 1;
    std::shared_ptr<ScriptedComm> Fake = std::make_shared<ScriptedComm>();
    TComToPX510 Session;
    ScriptedDialogs Dialogs;
    size_t Sent = 0;
};

// The "t" reply: cutoff, sampling lengths, standard, range, filter, unit.
inline QByteArray ConditionsReply(int cutoff, int lengths, int standard, int range, int filter, int unit)
{
    return bytes({cutoff, lengths, standard, range, filter, unit});
}

// The "k" reply with a raw stylus position, low byte first.
inline QByteArray PositionReply(int16_t raw)
{
    return bytes({raw & 0xFF, (raw >> 8) & 0xFF});
}
