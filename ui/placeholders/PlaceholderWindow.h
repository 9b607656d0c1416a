#pragma once
// A window that is not built yet: its caption and a close button, so that
// the command opening it shows honestly that there is nothing behind it.

#include <QDialog>

class TPlaceholderWindow : public QDialog {
    Q_OBJECT
public:
    TPlaceholderWindow(const QString &name, const QString &caption, QWidget *parent = nullptr);
};
