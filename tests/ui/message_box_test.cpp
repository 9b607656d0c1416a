// The message boxes the program shows: icon and buttons per kind of message.

#include "ui/QtDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace {

TEST(MessageBoxes, CarryTheIconAndButtonsOfTheirKind)
{
    using Call = QtDialogs::Call;
    const struct {
        Call call;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    } cases[] = {
        // Questions before a deletion or an overwrite.
        {Call::AskYesNo, "此操作将删除所有数据记录，请确认！", QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No},
        {Call::AskYesNo, "将在数据库中添加新记录，请确认是否要添加？", QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No},
        {Call::AskYesNo, "Delete record?", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No},
        // A warning put as a question is acknowledged with Yes alone.
        {Call::Warn, "该记录ID已经存在，请重新命名？", QMessageBox::Warning, QMessageBox::Yes},
        {Call::Warn, "无法连接到PX510上，请确认是否已经连接好了设备！", QMessageBox::Warning, QMessageBox::Ok},
        // Outcomes are confirmed.
        {Call::Inform, "配置成功！", QMessageBox::Question, QMessageBox::Ok},
        {Call::Inform, "配置失败！", QMessageBox::Question, QMessageBox::Ok},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto box = QtDialogs::MakeBox(c.call, "标题", c.text);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->standardButtons(), c.buttons);
        EXPECT_EQ(box->text(), c.text);
        EXPECT_EQ(box->windowTitle(), "标题");
        if (c.buttons & QMessageBox::No) {
            EXPECT_EQ(static_cast<QAbstractButton *>(box->defaultButton()), box->button(QMessageBox::No))
                << "Enter never deletes";
        }
    }
}

} // namespace
