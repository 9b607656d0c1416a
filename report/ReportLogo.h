#pragma once
// The maker's logo of the report's logo box, drawn by the program: a square
// picture of a stylus tracing a rough surface above the maker's name.

#include <QImage>

// 293 x 293 pixels, made once and shared.
QImage VantrelLogo();
