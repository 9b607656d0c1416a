// Measurement files: open one for display, save the current measurement.

#include "ui/main.h"

#include "link/ComToPX510Unit.h"

#include <QFileInfo>

namespace {
const QString FileFilter = QStringLiteral("PX510数据(*.PX510)");
}

QString TForm1::ExportFileName(const QString &chosen)
{
    // Exactly ".PX510", case and all; anything else gets ".Px510" appended.
    if (chosen.right(6) == QStringLiteral(".PX510"))
        return chosen;
    return chosen + QStringLiteral(".Px510");
}

void TForm1::InportDataFromFileExecute()
{
    // A file taken over during a download would be mixed with the packets
    // that are still to come.
    if (RefusedDuringExchange(QStringLiteral("现在不能打开文件：")))
        return;
    const auto name = Dlg.OpenFileName(QStringLiteral("请选择要导入的数据文件"), FileFilter);
    if (!name || name->isEmpty() || !QFileInfo::exists(*name))
        return;
    ComLink.LoadMeasurementFile(*name);
    // A file is no database record: saving it must not offer the one shown before.
    ComLink.ForgetRecord();
    ShowMeasurement();
    if (const QString warning = ComLink.MeasureTimeWarning(); !warning.isEmpty())
        Dlg.Warn(QStringLiteral("提示"), warning);
}

void TForm1::ExportDataToFileExecute()
{
    const auto name = Dlg.SaveFileName(QStringLiteral("请选择的数据文件"), FileFilter);
    if (!name || name->isEmpty())
        return;
    ComLink.SaveMeasurementFile(ExportFileName(*name));
}
