#pragma once
// A pair of spin buttons standing beside an edit box: a click on the upper
// one steps up, on the lower one down. The box's text is the caller's.

#include <QWidget>

class QToolButton;

class TUpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit TUpDownButtons(QWidget *parent = nullptr);
    QToolButton *UpButton = nullptr;
    QToolButton *DownButton = nullptr;

signals:
    void Clicked(bool up);
};
