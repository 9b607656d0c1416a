#include "database/RecordNavigator.h"

#include "common/Dialogs.h"
#include "common/Guard.h"
#include "database/RecordView.h"

#include <QHBoxLayout>

TRecordNavigator::TRecordNavigator(TRecordView &view, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), View(view), Messages(dialogs)
{
    struct Face {
        const char16_t *glyph;
        const char16_t *hint;
    };
    static const Face faces[ButtonCount] = {
        {u"|◀", u"第一条"}, {u"◀", u"上一条"}, {u"▶", u"下一条"},   {u"▶|", u"最后一条"},
        {u"−", u"删除"},    {u"✔", u"保存"},   {u"✘", u"取消修改"},
    };
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromUtf16(faces[i].glyph));
        b->setToolTip(QString::fromUtf16(faces[i].hint));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, i] { Act(Button(i)); });
        layout->addWidget(b);
        Buttons[size_t(i)] = b;
    }
    connect(&View, &TRecordView::ViewReset, this, &TRecordNavigator::UpdateButtons);
    connect(&View, &TRecordView::CurrentChanged, this, &TRecordNavigator::UpdateButtons);
    connect(&View, &TRecordView::RowChanged, this, &TRecordNavigator::UpdateButtons);
    UpdateButtons();
}

void TRecordNavigator::UpdateButtons()
{
    const bool any = View.HasCurrent();
    const bool atFirst = View.RecordNo() <= 0, atLast = View.RecordNo() >= View.Count() - 1;
    Buttons[First]->setEnabled(any && !atFirst);
    Buttons[Prior]->setEnabled(any && !atFirst);
    Buttons[Next]->setEnabled(any && !atLast);
    Buttons[Last]->setEnabled(any && !atLast);
    Buttons[Delete]->setEnabled(any);
    const bool editing = any && (View.Editing() || (HasTypedInput && HasTypedInput()));
    Buttons[Post]->setEnabled(editing);
    Buttons[Cancel]->setEnabled(editing);
}

void TRecordNavigator::Act(Button which)
{
    RunGuarded(Messages, [&] {
        if (BeforeAction && which != Cancel)
            BeforeAction();
        switch (which) {
        case First: View.First(); break;
        case Prior: View.Prior(); break;
        case Next: View.Next(); break;
        case Last: View.Last(); break;
        case Delete:
            if (Messages.AskYesNo(QStringLiteral("确认"), QStringLiteral("Delete record?")))
                View.DeleteCurrent();
            break;
        case Post: View.Post(); break;
        case Cancel:
            View.Cancel();
            if (AfterCancel)
                AfterCancel();
            break;
        case ButtonCount: break;
        }
    });
}
