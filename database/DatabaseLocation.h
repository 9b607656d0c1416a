#pragma once
// Where the measurement database lives. The program ships an empty
// file/DataViewDB.mdb below its directory, but measurements are never written
// into the installed tree (a package update or removal would delete them, and
// "sudo corviastation" could write there): the shipped file is copied once to
// the user's data folder and used from there, by every user, root included.

#include <QString>

namespace DatabaseLocation {

// file/DataViewDB.mdb below `appDir` (which ends in '/').
QString ShippedFile(const QString &appDir);

// The user's copy of the shipped file, made when there is none yet. FileError
// when that copy fails. A missing shipped file (and no copy) is left for the
// opening to report.
QString FileToOpen(const QString &appDir);

// The choice itself: the copy in `userFolder`, made once from `shipped`.
QString ChooseFile(const QString &shipped, const QString &userFolder);

} // namespace DatabaseLocation
