#pragma once
// Whole-file reads and atomic whole-file writes for measurement files.

#include <QByteArray>
#include <QString>

namespace FileBytes {

// At most `limit` + 1 bytes of a regular file, so that a caller sees a file
// longer than it can use without reading it all. FileError (with the file
// name and the reason) for anything else (a folder, a FIFO, a device) and
// when the file cannot be opened or read; nothing else is opened.
QByteArray readRegularFile(const QString &fileName, qint64 limit);

// Creates or replaces the file with exactly these bytes. The new content
// appears at once or not at all: a failed write leaves an existing file as it
// was and throws FileError.
void writeAtomically(const QString &fileName, const QByteArray &bytes);

} // namespace FileBytes
