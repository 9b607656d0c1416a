#pragma once
// The product logo shown at the right end of the main window's toolbar,
// drawn by the program.

#include <QPixmap>
#include <QSize>

QPixmap DrawLogoPicture(QSize size);
