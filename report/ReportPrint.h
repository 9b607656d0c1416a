#pragma once
// One report page on a printer or a PDF file: the page, then the chart on the
// plain path (no bearing-ratio texts on paper).

#include "report/ReportInput.h"

class QPagedPaintDevice;
class QString;
class ReportChart;

// Draws exactly one page onto the printable area of `device` (a printer or a
// PDF writer). A device that refuses the job raises a PX510Error; nothing is
// printed then.
void PrintReportPage(QPagedPaintDevice &device, const ReportPageInput &input, ReportChart *chart);

// The report as a landscape A4 PDF file without margins, so that page units
// are exact tenths of a millimetre on the sheet. It replaces `fileName` only
// once it is complete: the page goes into a temporary file in the same
// folder, which is then renamed. A killed or failed run leaves an existing
// file as it was. FileError naming the folder when it does not exist or
// cannot take the file.
void WriteReportPdf(const QString &fileName, const ReportPageInput &input, ReportChart *chart);
