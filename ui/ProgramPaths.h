#pragma once
// `--paths`: the program starts as usual but shows no window; it prints the
// program folder, the measurement database it opened and the help document
// it would open, then ends. For checking an installation.

#include "common/Edition.h"

#include <QStringList>

bool PathsRequested(const QStringList &arguments);

// Messages the start-up would show go to standard error. Returns 0 when the
// database is open and the help document, where the edition has one, exists.
int PrintProgramPaths(Edition edition);
