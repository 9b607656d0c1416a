#pragma once
// Where the measurement database lives: file/DataViewDB.mdb below the program
// directory. A system-wide install cannot write there, so the shipped file is
// then copied once to the user's data directory and used from there.

#include <QString>

namespace DatabaseLocation {

// file/DataViewDB.mdb below `appDir` (which ends in '/').
QString ShippedFile(const QString &appDir);

// The file to open. The shipped one when its folder is writable (the
// database keeps side files next to it); otherwise the user's copy, made
// from the shipped file when there is none yet. FileError when that copy
// fails. A missing shipped file is left for the opening to report.
QString FileToOpen(const QString &appDir);

// The choice itself: `shipped` when it can be written, else the copy in
// `userFolder`, made once.
QString ChooseFile(const QString &shipped, bool shippedWritable, const QString &userFolder);

} // namespace DatabaseLocation
