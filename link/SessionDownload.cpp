// Taking a finished measurement over from the tester: conditions, results,
// then the profile in numbered packets of 200 bytes, then decoding.

#include "link/ComToPX510Unit.h"

#include "common/DateTimeText.h"
#include "link/Frame.h"
#include "link/LinkMessages.h"
#include "link/Replies.h"
#include "link/ReplyFrame.h"
#include "link/SessionLink.h"

#include <algorithm>

namespace {
QByteArray PacketNumber(int packetNo)
{
    QByteArray payload;
    payload.append(static_cast<char>(packetNo & 0xFF));
    payload.append(static_cast<char>((packetNo >> 8) & 0xFF));
    return payload;
}
} // namespace

bool TComToPX510::FetchMeasurement()
{
    if (Waiting)
        return false; // asked for while a command waits for its reply
    return AsCommand([this] {
        TransferIncomplete = false;
        ResetMeasurement();
        // A fetch that fails anywhere, before the packets too, ends the same way:
        // the link idle again (or in the error state) and nothing shown.
        bool fetched = false;
        try {
            if (ReadConditions()) {
                TakeTesterSettings(); // the new measurement is taken under the tester's settings
                fetched = ReadResults() && DownloadProfile(RawData, RawByteCount);
            }
        } catch (...) {
            FetchFailed(false); // the error's own message is shown instead
            throw;
        }
        if (!fetched) {
            FetchFailed(true);
            return false;
        }
        DecodeProfile();
        HasData = true;
        return true;
    });
}

void TComToPX510::FetchFailed(bool tell)
{
    TransferIncomplete = true;
    HasData = false;
    if (!PortOpen)
        return; // a vanished port is reported as the lost link
    LinkState = ErrorCode >= 0 ? LinkError : LinkIdle;
    if (tell)
        AfterCommand([this] {
            if (OnLinkMessage)
                OnLinkMessage(IncompleteTransferMessage());
        });
}

bool TComToPX510::DownloadProfile(std::array<uint8_t, MaxRawBytes> &destination, int32_t &byteCount)
{
    if (Waiting)
        return false;
    return AsCommand([&] {
        MeasureTime = DateTimeText::now();
        const int lengths = SampleLengthCount();
        if (lengths == 0)
            return false;
        const int packets = (lengths + 1) * 5; // 10 to 30
        BusyScope busy(*this);
        bool complete = true;
        for (int k = 1; k <= packets; ++k) {
            if (!FetchPacket(k, destination)) {
                complete = false; // the measurement cannot be whole any more
                break;
            }
            byteCount = k * ReplyFrame::PacketDataBytes;
            DownloadPercent = k * 100 / packets;
            LinkState = LinkDownloading;
        }
        if (!PortOpen)
            return false; // the port went away: LinkState is already 1
        if (!complete) {
            LinkState = ErrorCode >= 0 ? LinkError : LinkIdle;
            return false;
        }
        LinkState = LinkDownloadComplete;
        return true;
    });
}

// One packet into its 200 bytes of `destination`. A reply that is missing,
// short, damaged or another packet's is asked for again, and so is an error
// reply, which is recorded. When a later attempt brings the packet, the
// faults before it are forgotten. A packet without a clean reply is never
// stored.
bool TComToPX510::FetchPacket(int packetNo, std::array<uint8_t, MaxRawBytes> &destination)
{
    const int32_t errorBefore = ErrorCode;
    const uint8_t stateBefore = LinkState;
    LinkReply reply;
    LinkStatus status = ClosedStatus();
    bool testerError = false;
    for (int attempt = 0; attempt < RepeatableAttempts && PortOpen; ++attempt) {
        status = ExchangeOnce('v', PacketNumber(packetNo), 'v', reply);
        if (status == LinkStatus::None) {
            const std::optional<Replies::ProfilePacket> packet = Replies::ProfilePacketOf(reply.View());
            if (!packet) {
                status = LinkStatus::Protocol; // a whole frame, but not a packet of 200 bytes
                continue;
            }
            ErrorCode = errorBefore;
            LinkState = stateBefore;
            std::transform(packet->Data.begin(), packet->Data.end(),
                           destination.begin() + (packetNo - 1) * ReplyFrame::PacketDataBytes,
                           [](char c) { return static_cast<uint8_t>(c); });
            return Ended(LinkStatus::None);
        }
        testerError = testerError || status == LinkStatus::TesterError;
        if (status != LinkStatus::TesterError && !Retryable(status))
            break;
    }
    // An error reply stays recorded (ErrorCode) even when a later attempt fails otherwise.
    return Ended(testerError ? LinkStatus::TesterError : status);
}
