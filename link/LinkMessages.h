#pragma once
// Texts the operator is shown about the link.

#include "link/LinkStatus.h"

#include <QString>

// The message for an error code of the tester's error reply.
QString ErrorMessage(int code);
// A fetch that missed a profile packet.
QString IncompleteTransferMessage();
// The port of an open link went away.
QString LinkLostMessage();
// Why a command failed with `status`; `errorCode` is the tester's for an
// error reply. Empty for LinkStatus::None.
QString FailureText(LinkStatus status, int errorCode);
