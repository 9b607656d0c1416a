#pragma once
// A session wired to a scripted port, and the replies a tester sends.

#include "TestSupport.h"
#include "link/ComToPX510Unit.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override { Session.UseComm(Fake); }

    // Connected on `port`, with the log of the handshake cleared.
    void ConnectOn(int port = 1)
    {
        Fake->Present.insert(port);
        Fake->QueueFrame(port, 'a');
        ASSERT_TRUE(Session.Connect());
        Fake->Log.clear();
    }
    std::vector<std::string> Writes() const { return Fake->LogOf("write"); }

    std::shared_ptr<ScriptedComm> Fake = std::make_shared<ScriptedComm>();
    TComToPX510 Session;
};

// The "t" reply: cutoff, sampling lengths, standard, range, filter, unit.
inline QByteArray ConditionsPayload(int cutoff, int lengths, int standard, int range, int filter, int unit)
{
    return bytes({cutoff, lengths, standard, range, filter, unit});
}

// The "p" reply text: twelve 13-character fields, the value in the last eight
// (the first five are not looked at).
inline QByteArray ResultsPayload(const QStringList &values)
{
    QByteArray text;
    for (const QString &value : values)
        text += ("R9x =" + value.rightJustified(8, QLatin1Char(' '))).toLatin1();
    return text;
}
