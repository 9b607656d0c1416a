#pragma once
// TForm5, "参数设置": the tester's measurement conditions and unit system.
// It shows what the tester is set to, sends what the operator chose, and says
// whether the tester took it over (and why not). The measurement on screen
// keeps its conditions; a change of unit system converts it.

#include "link/ComToPX510Unit.h"

#include <QDialog>
#include <QGroupBox>
#include <functional>

class Dialogs;
class QButtonGroup;
class QPushButton;
class QTabWidget;

// A captioned group of radio buttons, one per item; the index of the
// selected item is the code it stands for.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    void SetItems(const QStringList &items); // the selection stays
    QStringList Items() const;
    int ItemIndex() const; // -1 while nothing is selected
    void SetItemIndex(int index);
    // The operator's click on item `index`.
    void ClickItem(int index);

signals:
    void Click();

private:
    QButtonGroup *Buttons = nullptr;
};

// How the dialog reaches the main window; start-up fills these in.
struct TSettingsHooks {
    std::function<void()> UpdateStatusBar;
    std::function<void()> ShowMeasurement;
};

class TForm5 : public QDialog {
    Q_OBJECT
public:
    TForm5(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent = nullptr);

    TSettingsHooks Hooks;

    void FormShow();
    void rdunitClick();
    void Button1Click();
    void Button2Click();

    // Item texts of the range and cutoff groups in a unit system.
    static QStringList RangeItems(uint8_t unitSystem);
    static QStringList CutoffItems(uint8_t unitSystem);

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr; // "测量条件"
    TRadioGroup *rdcufoff = nullptr;
    TRadioGroup *rdaccess = nullptr;
    TRadioGroup *rdstandard = nullptr;
    TRadioGroup *rdrange = nullptr;
    TRadioGroup *rdfilter = nullptr;
    TRadioGroup *rdunit = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Relabel(uint8_t unitSystem);
    void SelectStored();
    TConditions Chosen() const;

    TComToPX510 &ComLink;
    Dialogs &Messages;
};
