#include "ui/ParaConfigFm.h"

#include "common/Dialogs.h"
#include "common/Guard.h"
#include "link/CommandWatch.h"

#include <QButtonGroup>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

// --- radio group -------------------------------------------------------------

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent) : QGroupBox(caption, parent)
{
    Buttons = new QButtonGroup(this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 4, 6, 4);
    column->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        Buttons->addButton(button, i);
        column->addWidget(button);
    }
    connect(Buttons, &QButtonGroup::idClicked, this, [this] { emit Click(); });
}

void TRadioGroup::SetItems(const QStringList &items)
{
    const QList<QAbstractButton *> buttons = Buttons->buttons();
    for (int i = 0; i < buttons.size() && i < items.size(); ++i)
        Buttons->button(i)->setText(items[i]);
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (int i = 0; i < Buttons->buttons().size(); ++i)
        items << Buttons->button(i)->text();
    return items;
}

int TRadioGroup::ItemIndex() const
{
    return Buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *button = Buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // A code outside the items selects none.
    Buttons->setExclusive(false);
    if (QAbstractButton *checked = Buttons->checkedButton())
        checked->setChecked(false);
    Buttons->setExclusive(true);
}

void TRadioGroup::ClickItem(int index)
{
    if (QAbstractButton *button = Buttons->button(index))
        button->click();
}

// --- the dialog ------------------------------------------------------------------

namespace {
const QString Caption = QStringLiteral("参数设置");
}

namespace {
constexpr int CodeCount = 4; // range and cutoff codes 0 to 3

QStringList itemsOf(QString (*label)(int, int), uint8_t unitSystem)
{
    QStringList items;
    for (int code = 0; code < CodeCount; ++code)
        items << label(code, unitSystem == 1 ? 1 : 0);
    return items;
}
} // namespace

QStringList TForm5::RangeItems(uint8_t unitSystem)
{
    return itemsOf(&TComToPX510::RangeLabel, unitSystem);
}

QStringList TForm5::CutoffItems(uint8_t unitSystem)
{
    return itemsOf(&TComToPX510::CutoffLabel, unitSystem);
}

TForm5::TForm5(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), ComLink(comLink), Messages(dialogs)
{
    setWindowTitle(Caption);
    setFixedSize(497, 395);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, 481, 379);
    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("测量条件"));

    auto *bevel = new QFrame(TabSheet1);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(8, 4, 449, 268);

    auto place = [this](TRadioGroup *group, int left, int top, int width, int height) {
        group->setParent(TabSheet1);
        group->setGeometry(left, top, width, height);
        return group;
    };
    rdcufoff = place(new TRadioGroup(QStringLiteral("取样长度"), CutoffItems(0)), 24, 16, 121, 113);
    rdaccess = place(new TRadioGroup(QStringLiteral("评定长度"),
                                     {QStringLiteral("1L"), QStringLiteral("2L"), QStringLiteral("3L"),
                                      QStringLiteral("4L"), QStringLiteral("5L")}),
                     168, 16, 113, 113);
    rdstandard = place(
        new TRadioGroup(QStringLiteral("标准"),
                        {QStringLiteral("ISO"), QStringLiteral("DIN"), QStringLiteral("JIS"), QStringLiteral("ANSI")}),
        304, 16, 129, 113);
    rdrange = place(new TRadioGroup(QStringLiteral("量程"), RangeItems(0)), 24, 144, 121, 113);
    rdfilter = place(new TRadioGroup(QStringLiteral("滤波器"),
                                     {QStringLiteral("RC"), QStringLiteral("PC-RC"), QStringLiteral("Gauss"),
                                      QStringLiteral("D-P")}),
                     168, 144, 113, 113);
    rdunit = place(new TRadioGroup(QStringLiteral("单位"), {QStringLiteral("公制"), QStringLiteral("英制")}), 304, 144,
                   129, 65);
    connect(rdunit, &TRadioGroup::Click, this, &TForm5::rdunitClick);

    Button1 = new QPushButton(QStringLiteral("确定"), TabSheet1);
    Button1->setGeometry(256, 288, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("取消"), TabSheet1);
    Button2->setGeometry(368, 288, 75, 25);
    // 确定 sends commands: refused while another exchange is under way, and
    // greyed while its own run, so that a second click cannot send them again.
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (ComLink.ExchangeUnderWay()) {
            Messages.Warn(Caption, QStringLiteral("现在不能配置：") + ComLink.ExchangeUnderWayText());
            return;
        }
        Button1->setEnabled(false);
        Button1Click();
        Button1->setEnabled(true);
    });
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm5::Relabel(uint8_t unitSystem)
{
    rdrange->SetItems(RangeItems(unitSystem));
    rdcufoff->SetItems(CutoffItems(unitSystem));
}

void TForm5::SelectStored()
{
    const TConditions &stored = ComLink.Tester.Conditions;
    rdstandard->SetItemIndex(stored.Standard);
    rdrange->SetItemIndex(stored.Range);
    rdfilter->SetItemIndex(stored.FilterCode);
    rdunit->SetItemIndex(ComLink.Tester.UnitSystem);
    rdaccess->SetItemIndex(stored.SampleLengths);
    rdcufoff->SetItemIndex(stored.Cutoff);
}

void TForm5::FormShow()
{
    Relabel(ComLink.Tester.UnitSystem);
    SelectStored();
}

// Another unit system changes what the range and cutoff items mean, so a
// choice made in them before is undone.
void TForm5::rdunitClick()
{
    Relabel(rdunit->ItemIndex() == 1 ? 1 : 0);
    rdrange->SetItemIndex(ComLink.Tester.Conditions.Range);
    rdcufoff->SetItemIndex(ComLink.Tester.Conditions.Cutoff);
}

TConditions TForm5::Chosen() const
{
    TConditions chosen;
    chosen.Range = uint8_t(rdrange->ItemIndex());
    chosen.Cutoff = uint8_t(rdcufoff->ItemIndex());
    chosen.SampleLengths = uint8_t(rdaccess->ItemIndex());
    chosen.FilterCode = uint8_t(rdfilter->ItemIndex());
    chosen.Standard = uint8_t(rdstandard->ItemIndex());
    return chosen;
}

void TForm5::Button1Click()
{
    RunGuarded(Messages, [&] {
        const TConditions chosen = Chosen();
        const auto unit = uint8_t(rdunit->ItemIndex());
        const TCommandWatch watch(ComLink);
        ComLink.ApplyConditions(chosen);
        ComLink.SetUnitSystem(unit);
        // The tester's answers decide: only what it is now set to counts.
        if (!(ComLink.Tester.Conditions == chosen && ComLink.Tester.UnitSystem == unit)) {
            Messages.Inform(Caption, QStringLiteral("配置失败！\n") + watch.FailureReason());
            return;
        }
        Messages.Inform(Caption, QStringLiteral("配置成功！"));
        if (Hooks.UpdateStatusBar)
            Hooks.UpdateStatusBar();
        if (Hooks.ShowMeasurement)
            Hooks.ShowMeasurement();
        FormShow();
        accept();
    });
}

void TForm5::Button2Click()
{
    FormShow(); // the stored values again, labelled for their unit system
    reject();
}
