// The main window's construction: controls, actions, menus, toolbar, chart
// and status bar. What the actions do lives in MainViews.cpp,
// MainActions.cpp and MainFiles.cpp.

#include "ui/main.h"

#include "common/Guard.h"
#include "link/ComToPX510Unit.h"
#include "link/LinkMessages.h"
#include "ui/LogoPicture.h"
#include "ui/ToolIcons.h"
#include "ui/UpDownButtons.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace {

QFont panelFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(13);
    return font;
}

QLabel *navyLabel(const QString &text, QWidget *parent, int left, int top, int width = 200)
{
    auto *label = new QLabel(text, parent);
    label->setFont(panelFont());
    label->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128); background: transparent;"));
    label->setGeometry(left, top, width, 18);
    return label;
}

} // namespace

QString TForm1::WindowCaption(Edition edition)
{
    return edition == Edition::Station ? QStringLiteral("Corvia For PX510 V1.0")
                                       : QStringLiteral("Corvialab for PX510");
}

QString TForm1::ApplicationTitle(Edition edition)
{
    return edition == Edition::Station ? QStringLiteral("Corvia For PX510 V1.0")
                                       : QStringLiteral("CorviaLab  for  PX510");
}

TForm1::TForm1(TComToPX510 &comLink, Dialogs &dialogs, Edition edition, QWidget *parent)
    : QMainWindow(parent), ComLink(comLink), Dlg(dialogs), TheEdition(edition)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(WindowCaption(edition));
    resize(edition == Edition::Station ? QSize(1032, 748) : QSize(1028, 617));
    Hooks.OpenUrl = [](const QString &url) { return QDesktopServices::openUrl(QUrl(url)); };

    CreateActions();
    CreateMenus();
    CreateToolBar();

    Memo1 = new QPlainTextEdit;
    Memo1->setReadOnly(edition == Edition::Station);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setToolTip(QStringLiteral("参数信息"));
    QFont memoFont;
    // Result columns count GB2312 bytes: a Chinese character is two columns.
    memoFont.setFamilies(
        {QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("SimSun"), QStringLiteral("monospace")});
    memoFont.setStyleHint(QFont::Monospace);
    // Six results to a line are 228 columns: at 11 pixels they fit a
    // 1600-pixel screen without the sideways scroll.
    memoFont.setPixelSize(11);
    Memo1->setFont(memoFont);
    HoverTexts.emplace_back(Memo1, QStringLiteral("信息"));

    CreateChart();
    CreateSidePanel();
    CreateBearingPanel();

    Splitter2 = new QSplitter(Qt::Horizontal);
    Splitter2->addWidget(RoungnessChart1);
    Splitter2->addWidget(Panel1);
    Splitter2->setHandleWidth(3);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({857, width() - 857});

    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->addWidget(Memo1);
    Splitter1->addWidget(Splitter2);
    Splitter1->setHandleWidth(3);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    const int chartHeight = edition == Edition::Station ? 480 : 324;
    Splitter1->setSizes({183, chartHeight});
    setCentralWidget(Splitter1);

    CreateStatusBar();

    for (auto &[object, text] : HoverTexts)
        object->installEventFilter(this);

    // 1. the session, 2. the roughness view, 3. the program's folder, 4. the logo.
    ComLink.ResetMeasurement();
    RounessCurveExecute();
    AppDir = QCoreApplication::applicationDirPath();
    if (!AppDir.endsWith(QLatin1Char('/')))
        AppDir += QLatin1Char('/');
    PlaceLogo();

    Timer1 = new QTimer(this);
    Timer1->setInterval(180000);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { LinkTimerTick(); }); });
    Timer1->start();

    // Enabling follows the session; it is looked at whenever the program is idle.
    IdleTimer = new QTimer(this);
    IdleTimer->setInterval(100);
    connect(IdleTimer, &QTimer::timeout, this, &TForm1::UpdateActions);
    IdleTimer->start();

    ComLink.OnMeasurementReady = [this] {
        QMetaObject::invokeMethod(this, [this] { Guarded([this] { ShowMeasurement(); }); });
    };
    ComLink.OnLinkMessage = [this](const QString &message) {
        QMetaObject::invokeMethod(this, [this, message] { Dlg.Warn(QStringLiteral("提示"), message); });
    };
    ComLink.OnLinkLost = [this] { ComLink.OnLinkMessage(LinkLostMessage()); };
    UpdateActions();
}

TForm1::~TForm1()
{
    ComLink.OnMeasurementReady = nullptr;
    ComLink.OnLinkMessage = nullptr;
    ComLink.OnLinkLost = nullptr;
}

void TForm1::Guarded(const std::function<void()> &work)
{
    RunGuarded(Dlg, work);
    UpdateActions();
}

QAction *TForm1::MakeAction(QAction *&field, const QString &caption, const QString &hint, std::function<bool()> enabled)
{
    field = new QAction(caption, this);
    field->setToolTip(hint.isEmpty() ? caption : hint);
    EnableRules.push_back({field, std::move(enabled)});
    return field;
}

void TForm1::OnTriggered(QAction *action, std::function<void()> work)
{
    connect(action, &QAction::triggered, this, [this, action, work = std::move(work)] { RunAction(action, work); });
}

void TForm1::RunAction(QAction *action, const std::function<void()> &work)
{
    Guarded([&] {
        // The enabling catches up only when the program is idle: a click that
        // came in before it did must still obey the rule, and is never
        // refused without a word when an exchange is the reason.
        for (const EnableRule &rule : EnableRules) {
            if (rule.Action == action && !rule.Enabled()) {
                if (ComLink.ExchangeUnderWay())
                    Dlg.Warn(QStringLiteral("提示"), ComLink.ExchangeUnderWayText());
                return;
            }
        }
        work();
    });
}

bool TForm1::RefusedDuringExchange(const QString &what)
{
    if (!ComLink.ExchangeUnderWay())
        return false;
    Dlg.Warn(QStringLiteral("提示"), what + ComLink.ExchangeUnderWayText());
    return true;
}

void TForm1::CreateActions()
{
    const bool station = TheEdition == Edition::Station;
    auto linkState = [this] { return ComLink.LinkState; };
    auto always = [] { return true; };
    auto hasData = [this] { return ComLink.HasData; };
    // The commands to the tester: in their link states, and only while no
    // other exchange is under way (the port search, the three-minute
    // handshake, a download), as one would be refused.
    auto in = [this, linkState](std::initializer_list<int> states) {
        std::vector<int> list(states);
        return [this, linkState, list] {
            return std::find(list.begin(), list.end(), linkState()) != list.end() && !ComLink.ExchangeUnderWay();
        };
    };
    auto connected = [this, linkState] { return linkState() != LinkDisconnected && !ComLink.ExchangeUnderWay(); };
    struct Row {
        QAction *&Field;
        const char16_t *Caption;
        const char16_t *Hint;
        std::function<bool()> Enabled;
        std::optional<ToolIcon> Icon;
    };
    const Row rows[] = {
        {InportDataFromFile, u"打开文件", u"打开文件", always, ToolIcon::OpenFile},
        {ExportDataToFile, u"保存文件", u"保存文件", hasData, ToolIcon::SaveFile},
        {OpenDataManager, u"打开数据库", u"打开数据库", always, ToolIcon::OpenDatabase},
        {SaveData, u"保存数据", u"保存数据", hasData, ToolIcon::SaveRecord},
        {PrintView, u"打印预览", u"打印预览", always, ToolIcon::PrintPreview},
        {exitpro, u"退出", u"退出", [linkState] { return linkState() == LinkDisconnected; }, std::nullopt},
        {StartConnect, u"启动连接", u"启动连接", in({LinkDisconnected}), ToolIcon::Connect},
        // A disconnect asked for during an exchange is sent once it has ended.
        {StopConnect, u"断开连接", u"断开连接",
         [linkState] { return linkState() == LinkIdle || linkState() == LinkDownloadComplete; }, ToolIcon::Disconnect},
        {RunMeasure, u"启动测量", u"启动测量", in({LinkIdle, LinkDownloadComplete}), ToolIcon::Measure},
        {PickUpPosition, u"拾取针位", u"拾取针位", in({LinkIdle, LinkDownloadComplete, LinkMeasurementFinished}),
         ToolIcon::StylusPosition},
        {LoadData, u"载入数据", u"载入数据", in({LinkIdle, LinkDownloadComplete}), ToolIcon::LoadData},
        {PreferenceConfig, u"配置", u"配置", connected, ToolIcon::Settings},
        {UnfilterCurve, u"未滤波曲线", u"未滤波曲线", always, ToolIcon::UnfilteredCurve},
        {RounessCurve, u"粗糙度曲线", u"粗糙度曲线", always, ToolIcon::RoughnessCurve},
        {RAndUnfCurve, u"粗糙度和未滤波曲线", u"粗糙度和未滤波曲线", always, ToolIcon::BothCurves},
        {TPCurve, u"支撑率曲线", u"支撑率曲线", always, ToolIcon::BearingCurve},
        {ShowAsistLine, u"显示辅助线", u"显示辅助线", [this] { return RoungnessChart1->ShowPosition1 != 1; },
         ToolIcon::ShowCursors},
        {HideAsistLine, u"隐藏辅助线", u"隐藏辅助线", [this] { return RoungnessChart1->ShowPosition1 == 1; },
         ToolIcon::HideCursors},
        {ZoomScale, u"缩放", u"缩放", [this] { return !RoungnessChart1->ZoomMode(); }, ToolIcon::Zoom},
        {DefaultViewPort, u"默认视图", u"默认视图", always, ToolIcon::DefaultView},
        {ScreenAll, u"全屏", u"全屏", always, ToolIcon::WholeCurve},
        {AutoScale, u"自动缩放", u"", [this] { return !RoungnessChart1->AxisAutomatic(RoungnessChart1->yAxis); },
         std::nullopt},
        {CancleAutoScale, u"取消自动缩放", u"",
         [this] { return RoungnessChart1->AxisAutomatic(RoungnessChart1->yAxis); }, std::nullopt},
        // corviaview has no help handler: its help command stays disabled.
        {OpenHelp, u"打开帮助", u"打开帮助", [station] { return station; }, ToolIcon::Help},
        {BrowseVantrel, u"登陆Vantrel网站", u"登陆Vantrel网站", always, ToolIcon::WebSite},
        {About, u"关于...", u"关于...", always, std::nullopt},
    };
    for (const Row &row : rows) {
        QAction *action = MakeAction(row.Field, QString::fromUtf16(row.Caption), QString::fromUtf16(row.Hint),
                                     row.Enabled);
        if (row.Icon)
            action->setIcon(DrawToolIcon(*row.Icon));
    }
    OnTriggered(InportDataFromFile, [this] { InportDataFromFileExecute(); });
    OnTriggered(ExportDataToFile, [this] { ExportDataToFileExecute(); });
    OnTriggered(exitpro, [this] { close(); });
    OnTriggered(StartConnect, [this] { StartConnectExecute(); });
    OnTriggered(StopConnect, [this] { StopConnectExecute(); });
    OnTriggered(RunMeasure, [this] { RunMeasureExecute(); });
    OnTriggered(LoadData, [this] { LoadDataExecute(); });
    OnTriggered(UnfilterCurve, [this] { UnfilterCurveExecute(); });
    OnTriggered(RounessCurve, [this] { RounessCurveExecute(); });
    OnTriggered(RAndUnfCurve, [this] { RAndUnfCurveExecute(); });
    OnTriggered(TPCurve, [this] { TPCurveExecute(); });
    OnTriggered(ShowAsistLine, [this] { ShowAsistLineExecute(); });
    OnTriggered(HideAsistLine, [this] { HideAsistLineExecute(); });
    OnTriggered(ZoomScale, [this] { ZoomScaleExecute(); });
    OnTriggered(DefaultViewPort, [this] { DefaultViewPortExecute(); });
    OnTriggered(ScreenAll, [this] { ScreenAllExecute(); });
    OnTriggered(AutoScale, [this] { AutoScaleExecute(); });
    OnTriggered(CancleAutoScale, [this] { CancleAutoScaleExecute(); });
    OnTriggered(OpenHelp, [this] { OpenHelpExecute(); });
    OnTriggered(BrowseVantrel, [this] { BrowseVantrelExecute(); });
    // Actions whose work lies in other windows go through the hooks, looked
    // up when triggered: start-up fills them in after the window is made.
    auto viaHook = [this](QAction *action, const std::function<void()> &hook) {
        OnTriggered(action, [&hook] {
            if (hook)
                hook();
        });
    };
    viaHook(OpenDataManager, Hooks.ShowDataManager);
    viaHook(SaveData, Hooks.ShowSaveRecord);
    viaHook(PrintView, Hooks.ShowReport);
    viaHook(PickUpPosition, Hooks.ShowStylusWindow);
    viaHook(PreferenceConfig, Hooks.ShowSettings);
    viaHook(About, Hooks.ShowAbout);
}

void TForm1::OpenWithDesktop(const QString &url, const QString &failure)
{
    if (Hooks.OpenUrl && !Hooks.OpenUrl(url))
        Dlg.Warn(QStringLiteral("警告"), failure);
}

void TForm1::OpenHelpExecute()
{
    if (TheEdition != Edition::Station)
        return;
    const QString file = AppDir + QStringLiteral("help/px510help.html");
    const QString shown = QDir::toNativeSeparators(file);
    if (!QFileInfo(file).isFile()) {
        Dlg.Warn(QStringLiteral("警告"), QStringLiteral("无法打开帮助：找不到帮助文件“%1”。").arg(shown));
        return;
    }
    OpenWithDesktop(QUrl::fromLocalFile(file).toString(),
                    QStringLiteral("无法打开帮助文件“%1”：系统中没有能打开这类文件的程序。").arg(shown));
}

void TForm1::BrowseVantrelExecute()
{
    OpenWithDesktop(MakerWebAddress,
                    QStringLiteral("无法打开网址“%1”：系统中没有设置默认的网页浏览器。").arg(MakerWebAddress));
}

void TForm1::CreateMenus()
{
    QMenu *manage = menuBar()->addMenu(QStringLiteral("管理"));
    manage->addActions({InportDataFromFile, ExportDataToFile});
    manage->addSeparator();
    manage->addActions({OpenDataManager, SaveData, PrintView});
    manage->addSeparator();
    manage->addAction(exitpro);
    menuBar()->addMenu(QStringLiteral("操作"))->addActions({StartConnect, RunMeasure, LoadData, PickUpPosition});
    menuBar()->addMenu(QStringLiteral("配置"))->addAction(PreferenceConfig);
    menuBar()->addMenu(QStringLiteral("曲线"))->addActions({UnfilterCurve, RounessCurve, RAndUnfCurve, TPCurve});
    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助"));
    // The help command is captioned "帮助" in the menu.
    QAction *helpItem = help->addAction(QStringLiteral("帮助"));
    helpItem->setIcon(OpenHelp->icon());
    connect(helpItem, &QAction::triggered, OpenHelp, &QAction::trigger);
    connect(OpenHelp, &QAction::changed, helpItem, [this, helpItem] { helpItem->setEnabled(OpenHelp->isEnabled()); });
    help->addAction(About);
}

void TForm1::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const std::vector<std::pair<QAction *, const char16_t *>> buttons = {
        {InportDataFromFile, u"打开文件"},
        {ExportDataToFile, u"保存文件"},
        {nullptr, nullptr},
        {OpenDataManager, u"打开数据库"},
        {SaveData, u"将当前数据保存到数据库中"},
        {PrintView, u"打印预览"},
        {nullptr, nullptr},
        {StartConnect, u"联机"},
        {StopConnect, u"断开联机"},
        {RunMeasure, u"启动测量"},
        {PickUpPosition, u"拾取针位"},
        {LoadData, u"载入数据"},
        {nullptr, nullptr},
        {PreferenceConfig, u"参数配置"},
        {UnfilterCurve, u"未滤波曲线"},
        {RounessCurve, u"滤波曲线"},
        {RAndUnfCurve, u"未滤波曲线和滤波曲线"},
        {TPCurve, u"支撑率曲线"},
        {nullptr, nullptr},
        {ShowAsistLine, u"显示辅助线"},
        {HideAsistLine, u"隐藏辅助线"},
        {ZoomScale, u"放大图像"},
        {DefaultViewPort, nullptr},
        {ScreenAll, u"全屏显示"},
        {nullptr, nullptr},
        {OpenHelp, u"帮助"},
        {BrowseVantrel, u"登陆Vantrel网站"},
    };
    for (const auto &[action, hover] : buttons) {
        if (!action) {
            ToolBar1->addSeparator();
            continue;
        }
        ToolBar1->addAction(action);
        QWidget *button = ToolBar1->widgetForAction(action);
        button->setFixedSize(39, 38);
        button->setObjectName(action->text());
        if (hover)
            HoverTexts.emplace_back(button, QString::fromUtf16(hover));
    }
    auto *gap = new QWidget;
    gap->setFixedWidth(46);
    ToolBar1->addWidget(gap);

    LogoPicture = new QLabel(ToolBar1);
    LogoPicture->setObjectName(QStringLiteral("LogoPicture"));
    ToolBar1->installEventFilter(this);
    // The connect button's tooltip also speaks in the status bar.
    ToolBar1->widgetForAction(StartConnect)->installEventFilter(this);
}

void TForm1::PlaceLogo()
{
    if (!ToolBar1 || !LogoPicture)
        return;
    const int height = std::max(8, ToolBar1->height() - 3);
    // At the right end of the toolbar, but never over a button when the
    // window is too narrow for the gap the buttons leave.
    int buttonsEnd = 0;
    for (const QToolButton *button : ToolBar1->findChildren<QToolButton *>())
        if (button->isVisible())
            buttonsEnd = std::max(buttonsEnd, button->geometry().right() + 1);
    const int left = std::max(ToolBar1->width() - 100 - 20, buttonsEnd + 4);
    LogoPicture->setGeometry(left, 2, 100, height);
    LogoPicture->setPixmap(DrawLogoPicture(LogoPicture->size()));
    LogoPicture->raise();
}

void TForm1::CreateChart()
{
    RoungnessChart1 = new TRoungnessChart;
    TRoungnessChart *chart = RoungnessChart1;
    chart->setObjectName(QStringLiteral("RoungnessChart1"));
    chart->resize(857, 480);
    const ChartSeries series = SetUpChart(*chart, TheEdition == Edition::Station);
    Series1 = series.Unfiltered;
    Series2 = series.Roughness;
    Series3 = series.Bearing;
    Series4 = series.LevelLine;

    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addActions({ShowAsistLine, HideAsistLine, ZoomScale});
    if (TheEdition == Edition::Station) {
        BearingAssistItem = PopupMenu1->addAction(QStringLiteral("支撑率辅助线"));
        connect(BearingAssistItem, &QAction::triggered, this,
                [this] { Guarded([this] { BearingAssistLineClick(); }); });
    }
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({UnfilterCurve, RounessCurve, RAndUnfCurve});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({SaveData, OpenDataManager, AutoScale, CancleAutoScale});
    connect(chart, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(RoungnessChart1->mapToGlobal(at)); });

    connect(chart, &QCustomPlot::mouseMove, this, [this](QMouseEvent *event) {
        Guarded([this, event] { ChartMouseMove(event->pos(), event->buttons(), event->modifiers()); });
    });
    connect(chart, &QCustomPlot::mouseDoubleClick, this,
            [this](QMouseEvent *event) { Guarded([this, event] { ChartDoubleClick(event->pos()); }); });
    connect(chart, &TRoungnessChart::AxisClicked, this,
            [this](QCPAxis *axis, QMouseEvent *) { Guarded([this, axis] { ChartAxisClick(axis); }); });
    connect(chart, &QCustomPlot::afterReplot, this, &TForm1::PlaceBearingPanel);
}

void TForm1::CreateSidePanel()
{
    auto *panel = new QFrame;
    Panel1 = panel;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(166, 202, 240)); // sky blue
    panel->setPalette(palette);
    panel->setToolTip(QStringLiteral("辅助信息"));
    panel->setMinimumWidth(150);
    // Down to the last readout (two lines below the last heading): a low
    // window takes the room from the message box, not from these.
    panel->setMinimumHeight(287 + 56 + 18 + 8);
    HoverTexts.emplace_back(panel, QStringLiteral("辅助信息"));

    // Each heading with the two readouts below it.
    const struct {
        const char16_t *Heading;
        int Top;
        QLabel **X, **Y;
        const char16_t *XText, *YText;
    } groups[] = {
        {u"当前鼠标位置：", 32, &LBMousePositionX, &LBMousePositionY, u"X=0um", u"Y=0um"},
        {u"第一点位置：", 117, &LBPosition1X, &LBPosition1Y, u"X=0um", u"Y=0um"},
        {u"第二点位置：", 202, &LBPosition2X, &LBPosition2Y, u"X=0um", u"Y=0um"},
        {u"两点间的距离：", 287, &LBSpaceDx, &LBSpaceDy, u"DX=0um", u"DY=0um"},
    };
    for (const auto &group : groups) {
        navyLabel(QString::fromUtf16(group.Heading), panel, 16, group.Top);
        *group.X = navyLabel(QString::fromUtf16(group.XText), panel, 16, group.Top + 28);
        *group.Y = navyLabel(QString::fromUtf16(group.YText), panel, 16, group.Top + 56);
    }
}

void TForm1::CreateBearingPanel()
{
    // Laid out as on the design chart, whose panel starts 680 pixels from the
    // left of an 857-pixel chart; it keeps that distance from the right edge.
    BearingPanel = new QWidget(RoungnessChart1);
    BearingPanel->setObjectName(QStringLiteral("BearingPanel"));
    BearingPanel->setAttribute(Qt::WA_TranslucentBackground);
    BearingPanel->resize(110, 305);
    auto edit = [this](const QString &text, int top, bool readOnly) {
        auto *box = new QLineEdit(text, BearingPanel);
        box->setGeometry(0, top, 49, 21);
        box->setReadOnly(readOnly);
        return box;
    };
    Label6 = navyLabel(QStringLiteral("c: %Rt"), BearingPanel, 0, 40, 100);
    Edit1 = edit(QStringLiteral("5"), 64, false);
    UpDown1 = new TUpDownButtons(BearingPanel);
    UpDown1->move(48, 64);
    Label9 = navyLabel(QStringLiteral("c: um"), BearingPanel, 0, 109, 100);
    Edit3 = edit(QString(), 136, true);
    Label7 = navyLabel(QStringLiteral("Rmr: %"), BearingPanel, 0, 184, 100);
    Edit2 = edit(QStringLiteral("5"), 208, false);
    Label10 = navyLabel(QStringLiteral("步长设置："), BearingPanel, 0, 256, 100);
    Edit5 = edit(QStringLiteral("5"), 280, false);
    UpDown2 = new TUpDownButtons(BearingPanel);
    UpDown2->move(49, 280);
    BearingPanel->hide();

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Guarded([this] { Edit1Change(); }); });
    connect(UpDown1, &TUpDownButtons::Clicked, this, [this](bool up) { Guarded([this, up] { UpDown1Click(up); }); });
    connect(UpDown2, &TUpDownButtons::Clicked, this, [this](bool up) { Guarded([this, up] { UpDown2Click(up); }); });

    if (TheEdition == Edition::View) {
        PercentLabelBottom = navyLabel(QStringLiteral("%"), RoungnessChart1, 0, 0, 14);
        PercentLabelLeft = navyLabel(QStringLiteral("%"), RoungnessChart1, 0, 0, 14);
        PercentLabelBottom->hide();
        PercentLabelLeft->hide();
    }
}

std::vector<QWidget *> TForm1::BearingControls() const
{
    return {Label6, Edit1, UpDown1, Label9, Edit3, Label7, Edit2, Label10, Edit5, UpDown2};
}

void TForm1::PlaceBearingPanel()
{
    BearingPanel->move(RoungnessChart1->width() - (857 - 680), 0);
    if (PercentLabelBottom && PercentLabelBottom->isVisible()) {
        // The unit of each axis beside its labels: after the right end of the
        // material-ratio axis, and left of the depth axis' first label. Fixed offsets
        // from the axis lines would land on a tick label at other chart sizes.
        const QRect plot = RoungnessChart1->PlotRect();
        const int bottomLine = plot.top() + plot.height();
        PercentLabelBottom->move(plot.left() + plot.width() + 6, bottomLine + 10);
        const int depthLabels =
            QFontMetrics(RoungnessChart1->yAxis->tickLabelFont()).horizontalAdvance(QStringLiteral("100"));
        PercentLabelLeft->move(plot.left() - 12 - depthLabels - PercentLabelLeft->width(),
                               plot.top() - PercentLabelLeft->height() / 2);
    }
}

void TForm1::CreateStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setSizeGripEnabled(false);
    const int widths[7] = {300, 100, 100, 100, 100, 100, 100};
    const char16_t *texts[7] = {u"准备", u"取样长度：", u"评定长度：", u"量程:", u"滤波器：", u"标准：", u"单位："};
    for (int i = 0; i < 7; ++i) {
        auto *panel = new QLabel(QString::fromUtf16(texts[i]));
        panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel);
        StatusPanels[static_cast<size_t>(i)] = panel;
    }
    StatusBar1->installEventFilter(this);
}

QString TForm1::StatusPanelText(int panel) const
{
    return StatusPanels.at(static_cast<size_t>(panel))->text();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
        for (const auto &[object, text] : HoverTexts)
            if (object == watched)
                StatusPanels[0]->setText(text);
        break;
    case QEvent::ToolTip:
        if (watched == ToolBar1->widgetForAction(StartConnect))
            StatusPanels[0]->setText(QStringLiteral("单击启动联机..."));
        break;
    case QEvent::MouseButtonDblClick:
        // A double click on the status bar (its panels pass it on) opens the
        // settings, in any link state.
        if (watched == StatusBar1)
            Guarded([this] {
                if (Hooks.ShowSettings)
                    Hooks.ShowSettings();
            });
        break;
    case QEvent::Resize:
        // After the toolbar has laid out its buttons for the new width.
        if (watched == ToolBar1)
            QMetaObject::invokeMethod(this, &TForm1::PlaceLogo, Qt::QueuedConnection);
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}
