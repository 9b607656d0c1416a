#include "database/dbinformfm.h"

#include "common/Dialogs.h"
#include "common/Guard.h"
#include "database/FormPlacement.h"
#include "database/dbmangagefm.h"
#include "measurement/Measurement.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextDocument>

TForm8::TForm8(TForm3 &dataManager, TMeasurement &comLink, Dialogs &dialogs, Edition edition, QWidget *parent)
    : QDialog(parent), DataManager(dataManager), ComLink(comLink), Messages(dialogs), EditionValue(edition)
{
    setWindowTitle(QStringLiteral("数据基本信息"));
    BuildLayout();
    connect(Button1, &QPushButton::clicked, this, [this] { SuggestNextId(); });
    connect(Button2, &QPushButton::clicked, this, [this] { ConfirmRecord(); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm8::BuildLayout()
{
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(408, 304);

    GroupBox1 = PlaceAt(new QGroupBox(QStringLiteral("基本信息"), this), 7, 8, 386, 201);
    CaptionAt(GroupBox1, QStringLiteral("编号："), 8, 24);
    Edit1 = PlaceAt(new QLineEdit(GroupBox1), 72, 24, 89, 21);
    Button1 = PlaceAt(new QPushButton(QStringLiteral("..."), GroupBox1), 160, 24, 25, 25);
    Button1->setToolTip(QStringLiteral("自动生成编号"));
    CaptionAt(GroupBox1, QStringLiteral("操作者："), 200, 24);
    Edit2 = PlaceAt(new QLineEdit(GroupBox1), 256, 24, 113, 21);
    CaptionAt(GroupBox1, QStringLiteral("工件名称："), 8, 58);
    Edit3 = PlaceAt(new QLineEdit(GroupBox1), 72, 56, 297, 21);
    CaptionAt(GroupBox1, QStringLiteral("备注："), 8, 96);
    for (QLineEdit *e : {Edit1, Edit2, Edit3})
        e->setMaxLength(RecordMapping::TextColumnWidth);
    Memo1 = PlaceAt(new QPlainTextEdit(GroupBox1), 72, 104, 297, 81);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);

    Button2 = PlaceAt(new QPushButton(QStringLiteral("确认"), this), 200, 232, 75, 25);
    Button3 = PlaceAt(new QPushButton(QStringLiteral("取消"), this), 288, 232, 75, 25);
    Button1->setAutoDefault(false);
    Button3->setAutoDefault(false);
    Button2->setDefault(true);

    QWidget::setTabOrder(Edit1, Edit3);
    QWidget::setTabOrder(Edit3, Edit2);
    QWidget::setTabOrder(Edit2, Memo1);
    QWidget::setTabOrder(Memo1, Button1);
    QWidget::setTabOrder(Button1, Button3);
    QWidget::setTabOrder(Button3, Button2);
}

void TForm8::PrefillFromDatabase()
{
    // A new save begins: no remark has been typed for it yet.
    const auto nothingTyped = qScopeGuard([this] { Memo1->document()->setModified(false); });
    TDataManager &data = DataManager.Data();
    const std::optional<StoredTexts> stored = EditionValue == Edition::Station
        ? data.LookupById(ComLink.RecordId)
        : data.LookupByMeasureTime(ComLink.MeasureTime);
    if (!DataManager.MainQuery().HasCurrent())
        return;
    const StoredTexts texts = stored.value_or(StoredTexts{});
    Edit1->setText(texts.Id.value_or(QStringLiteral("id")));
    if (texts.WorkName)
        Edit3->setText(*texts.WorkName);
    Edit2->setText(texts.Operator.value_or(QStringLiteral("opertor")));
    // The stored remark is shown, and kept unless the operator types another.
    if (stored)
        Memo1->setPlainText(texts.Remark.value_or(QString()));
}

bool TForm8::OpenForSave()
{
    if (!RunGuarded(Messages, [&] { PrefillFromDatabase(); }))
        return false;
    return exec() == QDialog::Accepted;
}

void TForm8::SuggestNextId()
{
    RunGuarded(Messages, [&] { Edit1->setText(DataManager.Data().SuggestNextId()); });
}

void TForm8::ConfirmRecord()
{
    if (EditionValue == Edition::Station) {
        // Empty means no characters at all; blanks are content.
        const std::pair<QLineEdit *, const char16_t *> required[] = {
            {Edit1, u"ID号不能为空！"}, {Edit3, u"工件名称不能为空！"}, {Edit2, u"操作者不能为空！"}};
        for (const auto &[field, message] : required) {
            if (field->text().isEmpty()) {
                Messages.Warn(QStringLiteral("警告"), QString::fromUtf16(message));
                return;
            }
        }
    }
    int result = -1;
    RunGuarded(Messages, [&] {
        result = DataManager.SaveMeasurementRecord(
            {Edit1->text(), Edit3->text(), Edit2->text(), Memo1->toPlainText(), Memo1->document()->isModified()});
    });
    if (result != -1)
        accept();
}
