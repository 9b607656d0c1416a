// Taking a finished measurement over from the tester: conditions, results,
// then the profile in numbered packets of 200 bytes, then decoding.

#include "link/ComToPX510Unit.h"

#include "common/DateTimeText.h"
#include "link/Frame.h"
#include "link/LinkMessages.h"
#include "link/ReplyFrame.h"
#include "link/SessionLink.h"

#include <algorithm>

namespace {
constexpr int PacketAttempts = 3; // a packet is asked for up to two more times

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
    CommandScope scope(*this);
    TransferIncomplete = false;
    ResetMeasurement();
    if (!ReadConditions())
        return false;
    TakeTesterSettings(); // the new measurement is taken under the tester's settings
    if (!ReadResults())
        return false;
    if (!DownloadProfile(RawData, RawByteCount)) {
        TransferIncomplete = true;
        if (PortOpen) // a vanished port is reported as the lost link
            AfterCommand([this] {
                if (OnLinkMessage)
                    OnLinkMessage(IncompleteTransferMessage());
            });
        return false;
    }
    DecodeProfile();
    HasData = true;
    return true;
}

bool TComToPX510::DownloadProfile(std::array<uint8_t, MaxRawBytes> &destination, int32_t &byteCount)
{
    if (Waiting)
        return false;
    CommandScope scope(*this);
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
}

// One packet into its 200 bytes of `destination`. A reply that is missing,
// short or not a packet is asked for again; an error reply is recorded and
// asked for again too. A whole packet whose checksum does not match is
// asked for again and only taken when no attempt brings a clean one.
bool TComToPX510::FetchPacket(int packetNo, std::array<uint8_t, MaxRawBytes> &destination)
{
    LinkReply reply;
    LinkReply damaged;
    bool haveDamaged = false;
    bool clean = false;
    for (int attempt = 0; attempt < PacketAttempts && PortOpen && !clean; ++attempt) {
        if (!Exchange('v', PacketNumber(packetNo), 'v', reply) || reply.Length < ReplyFrame::PacketReplyBytes)
            continue;
        clean = Frame::IsComplete(reply.Bytes.data(), ReplyFrame::PacketReplyBytes);
        if (!clean) {
            damaged = reply;
            haveDamaged = true;
        }
    }
    if (!clean && !(haveDamaged && PortOpen))
        return false;
    const LinkReply &packet = clean ? reply : damaged;
    const auto first = packet.Bytes.begin() + ReplyFrame::PacketDataOffset;
    std::transform(first, first + ReplyFrame::PacketDataBytes,
                   destination.begin() + (packetNo - 1) * ReplyFrame::PacketDataBytes,
                   [](char c) { return static_cast<uint8_t>(c); });
    return true;
}
