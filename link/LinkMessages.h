#pragma once
// Texts the operator is shown about the link.

#include <QString>

// The message for an error code of the tester's error reply.
QString ErrorMessage(int code);
// A fetch that missed a profile packet.
QString IncompleteTransferMessage();
// The port of an open link went away.
QString LinkLostMessage();
