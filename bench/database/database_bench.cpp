// The data manager on a large database: 100 000 records, each with a full
// 3000-sample measurement. Times opening the window and showing the list,
// the date filter, the search and moving to another row (with its preview),
// and reports the peak memory of the process.
//
//   database_bench [folder] [records]
//
// The database is made once in <folder> (default /tmp/px510-bench) by a child
// run of this program, so the peak memory is that of the data manager alone.
// Runs with the operating system's file cache warm.

#include "ScriptedDialogs.h"

#include "bench/BenchFigure.h"
#include "common/DateTimeText.h"
#include "database/DataManager.h"
#include "database/PreviewChart.h"
#include "database/RecordMapping.h"
#include "database/dbmangagefm.h"
#include "link/ComToPX510Unit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

const QDate kFirstDay(2023, 1, 1);

// A full measurement whose profile and results vary with `seed`.
void measurement(TComToPX510 &session, int seed, double when)
{
    session.Conditions = TConditions{2, 2, 4, 2, 0};
    session.ActualRange = 2;
    session.ActualCutoff = 2;
    auto parameters = session.InstrumentParams.InReportOrder();
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i]->ParamValue = 0.2 + 0.001 * (seed % 997) + 0.01 * double(i);
    session.MeasureTime = when;
    session.RawByteCount = 6000;
    for (int i = 0; i < 3000; ++i) {
        auto v = int16_t(std::lround(900 * std::sin(i * 0.04 + seed) + 200 * std::sin(i * 0.7 + seed * 0.1)));
        session.RawData[size_t(2 * i)] = uint8_t(v & 0xff);
        session.RawData[size_t(2 * i + 1)] = uint8_t((v >> 8) & 0xff);
    }
}

int create(const QString &file, int records)
{
    QFile::remove(file);
    if (!QFile::copy(QStringLiteral(PX510_PROGRAM_DIR "/file/DataViewDB.mdb"), file))
        return 1;
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    TDatabaseConnection db;
    db.Open(file);
    TComToPX510 session;
    static const char16_t *const works[] = {u"轴承座", u"法兰盘", u"齿轮轴", u"缸套", u"曲轴"};
    static const char16_t *const operators[] = {u"张三", u"李四", u"王五", u"Zhao", u"Qian"};
    QElapsedTimer timer;
    timer.start();
    for (int first = 0; first < records; first += 5000) {
        TDatabaseConnection::Transaction transaction(db);
        for (int i = first; i < std::min(records, first + 5000); ++i) {
            // About 270 records a day over a year.
            const double when = DateTimeText::fromDateTime(QDateTime(kFirstDay, QTime(7, 0))) + i / 270
                + (i % 270) * (12.0 / 24 / 270);
            measurement(session, i, when);
            const RecordTexts texts{QStringLiteral("W%1").arg(i, 6, 10, QLatin1Char('0')),
                                    QString::fromUtf16(works[i % 5]), QString::fromUtf16(operators[i % 5]),
                                    QStringLiteral("批次 %1").arg(i / 100)};
            const TDatabaseConnection::Bindings columns = RecordMapping::SavedColumns(session, texts, when + 0.01);
            QStringList names, placeholders;
            for (const auto &column : columns) {
                names << column.first;
                placeholders << QLatin1Char(':') + column.first;
            }
            db.Run(QStringLiteral("insert into Data (") + names.join(QLatin1Char(',')) + QStringLiteral(") values (")
                       + placeholders.join(QLatin1Char(',')) + QLatin1Char(')'),
                   columns);
        }
        transaction.Commit();
        std::fprintf(stderr, "\r%d records (%.0f s)", std::min(records, first + 5000), timer.elapsed() / 1000.0);
    }
    std::fprintf(stderr, "\n");
    return 0;
}

double milliseconds(QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void settle()
{
    QApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--create"))
        return create(args[2], args[3].toInt());

    const QString folder = args.size() > 1 ? args[1] : QStringLiteral("/tmp/px510-bench");
    const int records = args.size() > 2 ? args[2].toInt() : 100000;
    const QString appDir = folder + QLatin1Char('/');
    const QString file = appDir + QStringLiteral("file/DataViewDB.mdb");
    QDir().mkpath(appDir + QStringLiteral("file"));

    bool ready = false;
    if (QFile::exists(file)) {
        TDatabaseConnection db;
        db.Open(file);
        QSqlQuery q = db.Run(QStringLiteral("select count(*) from Data"));
        ready = q.next() && q.value(0).toInt() == records;
    }
    if (!ready) {
        std::printf("making %d records in %s ...\n", records, qPrintable(file));
        if (QProcess::execute(args[0], {QStringLiteral("--create"), file, QString::number(records)}) != 0)
            return 1;
    }
    std::printf("database: %s, %d records, %.0f MB\n", qPrintable(file), records, QFileInfo(file).size() / 1048576.0);

    ScriptedDialogs dialogs;
    TComToPX510 comLink;
    QElapsedTimer timer;

    timer.start();
    TForm3 form(comLink, dialogs, Edition::Station, appDir);
    form.show();
    settle();
    const double shown = milliseconds(timer);
    if (!dialogs.Warnings.isEmpty()) {
        std::printf("error: %s\n", qPrintable(dialogs.Warnings.join(QLatin1Char('\n'))));
        return 1;
    }
    std::printf("open the data manager and show the list: %8.1f ms  (%d rows, preview %d points)\n", shown,
                form.MainQuery().Count(), form.Chart1->PointCount());
    BenchFigure("open the data manager and show the list", shown, "ms", "<=1000");

    // The date filter: one month, then all rows again.
    form.DateTimePicker1->setDate(kFirstDay.addDays(200));
    form.DateTimePicker2->setDate(kFirstDay.addDays(230));
    timer.restart();
    form.CheckBox1->click();
    settle();
    std::printf("date filter on (31 days):                %8.1f ms  (%d rows)\n", milliseconds(timer),
                form.MainQuery().Count());
    BenchFigure("date filter on (31 days)", milliseconds(timer), "ms", "<=300");
    timer.restart();
    form.CheckBox1->click();
    settle();
    std::printf("date filter off:                         %8.1f ms  (%d rows)\n", milliseconds(timer),
                form.MainQuery().Count());
    BenchFigure("date filter off", milliseconds(timer), "ms", "<=300");

    // Search: a match near the end of the list, and a text that matches nothing.
    struct Search {
        int column;
        QString text;
        const char *what;
    };
    const Search searches[] = {
        {0, QStringLiteral("w0999"), "ID, match near the end"},
        {1, QStringLiteral("齿轮"), "work name, early match"},
        {2, QStringLiteral("nobody"), "operator, no match"},
    };
    for (const Search &s : searches) {
        form.MainQuery().First();
        settle();
        form.ComboBox1->setCurrentIndex(s.column);
        form.Edit1->setText(s.text);
        timer.restart();
        form.Button1->click();
        settle();
        std::printf("search %-32s  %8.1f ms  (row %d)\n", s.what, milliseconds(timer), form.MainQuery().RecordNo());
        BenchFigure(std::string("search ") + s.what, milliseconds(timer), "ms", "<=300");
    }

    timer.restart();
    const QString proposal = form.Data().SuggestNextId();
    std::printf("propose the next ID (\"...\"):             %8.1f ms  (%s)\n", milliseconds(timer),
                qPrintable(proposal));
    BenchFigure("propose the next ID", milliseconds(timer), "ms");

    // Moving to other rows: each shows the row's fields and its preview.
    std::mt19937 random(510);
    std::uniform_int_distribution<int> anyRow(0, form.MainQuery().Count() - 1);
    std::vector<double> moves;
    QTableView *grid = form.DBGrid1;
    for (int i = 0; i < 100; ++i) {
        const int row = i % 2 ? form.MainQuery().RecordNo() + 1 : anyRow(random);
        timer.restart();
        grid->selectionModel()->setCurrentIndex(grid->model()->index(std::min(row, form.MainQuery().Count() - 1), 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle();
        moves.push_back(milliseconds(timer));
    }
    std::sort(moves.begin(), moves.end());
    std::printf("move to another row (100 moves):         median %.1f ms, slowest %.1f ms\n", moves[moves.size() / 2],
                moves.back());
    BenchFigure("move to another row, median of 100", moves[moves.size() / 2], "ms", "<=30");
    BenchFigure("move to another row, slowest of 100", moves.back(), "ms");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory of the process:              %8.1f MB\n", usage.ru_maxrss / 1024.0);
    BenchFigure("peak memory of the process", usage.ru_maxrss / 1024.0, "MB", "<300");
    return 0;
}
