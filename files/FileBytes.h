#pragma once
// Whole-file reads and atomic whole-file writes for measurement files.

#include <QByteArray>
#include <QString>

namespace FileBytes {

// The whole file; FileError (with the file name and the system's reason)
// when it cannot be opened or read.
QByteArray readAll(const QString &fileName);

// Creates or replaces the file with exactly these bytes. The new content
// appears at once or not at all: a failed write leaves an existing file as it
// was and throws FileError.
void writeAtomically(const QString &fileName, const QByteArray &bytes);

} // namespace FileBytes
