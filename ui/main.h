#pragma once
// The main window: the toolbar, menus and context menu with their actions,
// the message box, the chart with its side panel and bearing-ratio boxes,
// and the status bar. Every action works on the one session it was given.

#include "chart/MeasurementChart.h"
#include "chart/RoungnessChart.h"
#include "common/Dialogs.h"
#include "common/Edition.h"
#include "report/ReportInput.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTimer;
class QToolBar;
class TComToPX510;
class TUpDownButtons;

// How the main window reaches the windows built around it; start-up fills
// these in. An empty hook does nothing.
struct TMainWindowHooks {
    std::function<void()> ShowStylusWindow;   // the stylus position sequence
    std::function<void()> ShowSettings;       // settings dialog, modal
    std::function<void()> ShowDataManager;    // data manager, modal
    std::function<void()> ShowSaveRecord;     // record dialog, pre-filled, modal
    std::function<void()> ShowReport;         // report preview of this chart, modal
    std::function<void()> StartProgressWatch; // the progress window's timer
    std::function<void()> ShowAbout;          // about window, modeless
    // Help file and web site; false when the desktop could not open it.
    std::function<bool(const QString &)> OpenUrl;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(TComToPX510 &comLink, Dialogs &dialogs, Edition edition, QWidget *parent = nullptr);
    ~TForm1() override;

    static QString WindowCaption(Edition edition);
    static QString ApplicationTitle(Edition edition);
    static inline const QString MakerWebAddress = QStringLiteral("https://www.vantrel.example/");

    TComToPX510 &ComLink;
    QString AppDir; // the program's folder, ending in "/"
    TMainWindowHooks Hooks;

    // --- operations used by other windows ---------------------------------
    void ShowMeasurement();
    void UpdateStatusBar();
    QString StatusPanelText(int panel) const;
    // What the report reads at drawing time.
    std::array<QString, 5> ReportStatusPanels() const;
    ReportSeries ReportSeriesShown() const;
    ReportBearingTexts ReportLevels() const;

    // Re-evaluates every action's enabled state (also run when idle).
    void UpdateActions();

    // --- views, cursors, zoom ----------------------------------------------
    void UnfilterCurveExecute();
    void RounessCurveExecute();
    void RAndUnfCurveExecute();
    void TPCurveExecute();
    void SetBearingLayout(bool bearing);
    void ShowAsistLineExecute();
    void HideAsistLineExecute();
    void ZoomScaleExecute();
    void ScreenAllExecute();
    void DefaultViewPortExecute();
    void AutoScaleExecute();
    void CancleAutoScaleExecute();
    void Edit1Change();
    void UpDown1Click(bool up);
    void UpDown2Click(bool up);
    void BearingAssistLineClick();
    void ChartMouseMove(QPoint pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void ChartDoubleClick(QPoint pixel);
    void ChartAxisClick(QCPAxis *axis);

    // --- measurement and file actions -------------------------------------
    void StartConnectExecute();
    void StopConnectExecute();
    void RunMeasureExecute();
    void LoadDataExecute();
    void InportDataFromFileExecute();
    void ExportDataToFileExecute();
    // The export name rule: ".Px510" is appended unless the name ends in ".PX510".
    static QString ExportFileName(const QString &chosen);
    void LinkTimerTick();
    void OpenHelpExecute();
    void BrowseVantrelExecute();

    // --- controls ------------------------------------------------------------
    QToolBar *ToolBar1 = nullptr;
    QLabel *LogoPicture = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QSplitter *Splitter1 = nullptr; // message box | chart area
    QSplitter *Splitter2 = nullptr; // chart | side panel
    TRoungnessChart *RoungnessChart1 = nullptr;
    QCPGraph *Series1 = nullptr;
    QCPGraph *Series2 = nullptr;
    QCPGraph *Series3 = nullptr;
    QCPGraph *Series4 = nullptr; // the full edition only
    QWidget *Panel1 = nullptr;
    QLabel *LBMousePositionX = nullptr, *LBMousePositionY = nullptr;
    QLabel *LBPosition1X = nullptr, *LBPosition1Y = nullptr;
    QLabel *LBPosition2X = nullptr, *LBPosition2Y = nullptr;
    QLabel *LBSpaceDx = nullptr, *LBSpaceDy = nullptr;
    // The bearing-ratio panel on the chart.
    QWidget *BearingPanel = nullptr;
    QLabel *Label6 = nullptr, *Label9 = nullptr, *Label7 = nullptr, *Label10 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit3 = nullptr, *Edit2 = nullptr, *Edit5 = nullptr;
    TUpDownButtons *UpDown1 = nullptr, *UpDown2 = nullptr;
    std::vector<QWidget *> BearingControls() const;
    QLabel *PercentLabelBottom = nullptr, *PercentLabelLeft = nullptr; // corviaview
    QStatusBar *StatusBar1 = nullptr;
    std::array<QLabel *, 7> StatusPanels{};
    QMenu *PopupMenu1 = nullptr;
    QAction *BearingAssistItem = nullptr; // "支撑率辅助线", full edition
    QTimer *Timer1 = nullptr;

    QAction *InportDataFromFile = nullptr, *ExportDataToFile = nullptr, *OpenDataManager = nullptr, *SaveData = nullptr,
            *PrintView = nullptr, *exitpro = nullptr, *StartConnect = nullptr, *StopConnect = nullptr,
            *RunMeasure = nullptr, *PickUpPosition = nullptr, *LoadData = nullptr, *PreferenceConfig = nullptr,
            *UnfilterCurve = nullptr, *RounessCurve = nullptr, *RAndUnfCurve = nullptr, *TPCurve = nullptr,
            *ShowAsistLine = nullptr, *HideAsistLine = nullptr, *ZoomScale = nullptr, *DefaultViewPort = nullptr,
            *ScreenAll = nullptr, *AutoScale = nullptr, *CancleAutoScale = nullptr, *OpenHelp = nullptr,
            *BrowseVantrel = nullptr, *About = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct EnableRule {
        QAction *Action;
        std::function<bool()> Enabled;
    };

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateChart();
    void CreateSidePanel();
    void CreateBearingPanel();
    void CreateStatusBar();
    void PlaceBearingPanel();
    void PlaceLogo();
    void WriteCursorReadouts();
    ChartSeries SeriesOfChart() const;
    void Guarded(const std::function<void()> &work);
    QAction *MakeAction(QAction *&field, const QString &caption, const QString &hint, std::function<bool()> enabled);
    // Runs `work` when `action` is triggered and its enabling rule holds.
    void OnTriggered(QAction *action, std::function<void()> work);
    void RunAction(QAction *action, const std::function<void()> &work);
    // True, after telling the operator, while an exchange with the tester is under way.
    bool RefusedDuringExchange(const QString &what);
    void OpenWithDesktop(const QString &url, const QString &failure);
    QString HeightUnit() const;
    QString LengthUnit() const;
    // Units of the x and y readouts in the view shown.
    std::pair<QString, QString> ReadoutUnits() const;
    QString Readout(double value, const QString &unit) const;

    Dialogs &Dlg;
    Edition TheEdition;
    std::vector<EnableRule> EnableRules;
    std::vector<std::pair<QObject *, QString>> HoverTexts;
    QTimer *IdleTimer = nullptr;
};
