#pragma once
// One report page on a printer or a PDF file: the page, then the chart on the
// plain path (no bearing-ratio texts on paper).

#include "report/ReportInput.h"

class QPrinter;
class ReportChart;

// Draws exactly one page onto the printable area of `printer`. A printer that
// refuses the job raises a PX510Error; nothing is printed then.
void PrintReportPage(QPrinter &printer, const ReportPageInput &input, ReportChart *chart);

// Sets a printer up for the report's landscape A4 PDF file, without margins,
// so that page units are exact tenths of a millimetre on the sheet.
void SetUpReportPdf(QPrinter &printer, const QString &fileName);
