#pragma once
// Controls placed at their designer positions, as the windows of this folder
// lay out their fixed panels.

#include <QLabel>
#include <QString>
#include <QWidget>

template <typename W>
W *PlaceAt(W *widget, int x, int y, int width, int height)
{
    widget->setGeometry(x, y, width, height);
    return widget;
}

// A caption whose text lines up with an edit box placed at the same (x, y).
inline QLabel *CaptionAt(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y + 3);
    label->adjustSize();
    return label;
}
