#pragma once
// Tracing of the link: every frame written to and read from the tester, as
// hex. Off by default; switch it on without rebuilding with
//   QT_LOGGING_RULES="px510.link.debug=true"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

namespace LinkTrace {

// `direction` is "->" for a written frame and "<-" for bytes read.
void Frame(const char *direction, int port, const char *data, int length);
void Note(int port, const char *what);

} // namespace LinkTrace
