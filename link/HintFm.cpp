#include "link/HintFm.h"

#include "common/Dialogs.h"
#include "common/Guard.h"
#include "link/ComToPX510Unit.h"
#include "link/LinkMessages.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
// The form's face "宋体"; where it is missing, a face that has the glyphs.
QFont SongFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixelSize);
    return font;
}

// A turned surface: feed marks with some roughness on them, x in 0 .. 1,
// height in -1 .. 1.
double SurfaceHeight(double x)
{
    const double feed = std::abs(std::fmod(x * 14, 1.0) - 0.5) * 2 - 0.5;
    return 0.7 * feed + 0.2 * std::sin(x * 97) + 0.1 * std::sin(x * 211 + 1.3);
}
} // namespace

// --- the animation ---------------------------------------------------------

TProgressAnimation::TProgressAnimation(QWidget *parent) : QWidget(parent)
{
    FrameTimer = new QTimer(this);
    FrameTimer->setInterval(FrameMs);
    connect(FrameTimer, &QTimer::timeout, this, [this] { SetFrame(CurrentFrame + 1); });
}

void TProgressAnimation::SetFrame(int frame)
{
    CurrentFrame = frame % FramesPerPass;
    update();
}

bool TProgressAnimation::Running() const
{
    return FrameTimer->isActive();
}

void TProgressAnimation::showEvent(QShowEvent *event)
{
    FrameTimer->start();
    QWidget::showEvent(event);
}

void TProgressAnimation::hideEvent(QHideEvent *event)
{
    FrameTimer->stop();
    QWidget::hideEvent(event);
}

void TProgressAnimation::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(235, 244, 255));
    sky.setColorAt(1, QColor(200, 222, 248));
    p.setPen(QPen(QColor(120, 150, 190), 1));
    p.setBrush(sky);
    p.drawRoundedRect(area, 4, 4);

    // The work piece and its profile; the part already traced is drawn
    // stronger. The pick-up's drive unit trails the tip, so the trace starts
    // where the whole unit fits in the picture.
    constexpr double DriveLength = 36;
    const double left = area.left() + 8, right = area.right() - 8;
    const double traceStart = left + DriveLength;
    const double base = area.top() + area.height() * 0.68, amplitude = area.height() * 0.09;
    const double progress = double(CurrentFrame) / (FramesPerPass - 1);
    const double tipX = traceStart + (right - traceStart) * progress;
    auto heightAt = [&](double x) { return base - amplitude * SurfaceHeight((x - left) / (right - left)); };
    QPainterPath surface, traced;
    surface.moveTo(left, heightAt(left));
    for (double x = left + 1; x <= right; x += 1)
        surface.lineTo(x, heightAt(x));
    traced.moveTo(traceStart, heightAt(traceStart));
    for (double x = traceStart + 1; x <= tipX; x += 1)
        traced.lineTo(x, heightAt(x));
    QPainterPath body = surface;
    body.lineTo(right, area.bottom() - 4);
    body.lineTo(left, area.bottom() - 4);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 160, 175));
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 100, 115), 1));
    p.drawPath(surface);
    p.setPen(QPen(QColor(128, 0, 128), 2));
    p.drawPath(traced);

    // The pick-up: an arm from the drive unit above, the stylus tip on the
    // surface.
    const double tipY = heightAt(tipX);
    const double armY = area.top() + area.height() * 0.22;
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(70, 90, 130));
    p.drawRoundedRect(QRectF(tipX - DriveLength + 2, armY - 7, 30, 14), 3, 3);
    p.setBrush(QColor(190, 195, 205));
    p.drawRect(QRectF(tipX - 6, armY - 3, 9, 6));
    QPainterPath stylus;
    stylus.moveTo(tipX - 3, armY + 3);
    stylus.lineTo(tipX + 3, armY + 3);
    stylus.lineTo(tipX, tipY);
    stylus.closeSubpath();
    p.setBrush(QColor(200, 30, 60));
    p.drawPath(stylus);
}

// --- the window --------------------------------------------------------------

TForm7::TForm7(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), ComLink(comLink), Messages(dialogs)
{
    setWindowTitle(QStringLiteral("提示对话框"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(387, 204);
    setModal(false);
    // Shown while the operator works in the main window: it never takes the
    // keyboard away from there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    HintLable = new QLabel(QStringLiteral("HintLable"), this);
    HintLable->setGeometry(32, 16, 329, 33);
    HintLable->setFont(SongFont(16));
    HintLable->setWordWrap(true);
    HintLable->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette purple = HintLable->palette();
    purple.setColor(QPalette::WindowText, QColor(128, 0, 128));
    HintLable->setPalette(purple);

    Animation = new TProgressAnimation(this);
    Animation->setGeometry(24, 64, 345, 73);

    Label2 = new QLabel(QStringLiteral("当前进度"), this);
    Label2->setFont(SongFont(14));
    Label2->setGeometry(24, 160, 65, 17); // tall enough for the 14-pixel face
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(104, 160, 265, 17);
    ProgressBar1->setRange(0, ProgressSteps);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setInterval(TickMs);
    connect(Timer1, &QTimer::timeout, this, &TForm7::Timer1Timer);
    // Running from the start, so an error reply is reported whenever it
    // comes (a refused start included) and the link does not stay stuck in
    // the error state.
    Timer1->start();
}

void TForm7::StartWatching()
{
    Timer1->start();
}

void TForm7::ShowIfHidden()
{
    if (!isVisible())
        show();
}

void TForm7::ReportError(int code)
{
    Timer1->stop();
    Messages.Warn(windowTitle(), ErrorMessage(code));
    close();
    ComLink.Disconnect();
}

void TForm7::Timer1Timer()
{
    RunGuarded(Messages, [&] {
        if (ComLink.ErrorCode >= 0) {
            ReportError(ComLink.ErrorCode);
            return;
        }
        switch (ComLink.LinkState) {
        case LinkMeasuring:
            HintLable->setText(QStringLiteral("正在测量,请稍候......"));
            ProgressBar1->setValue(std::min(ProgressBar1->value() + 1, ProgressSteps));
            ShowIfHidden();
            break;
        case LinkDownloading:
            HintLable->setText(QStringLiteral("正在传输数据,请稍候......"));
            ProgressBar1->setValue(std::clamp(ComLink.DownloadPercent / 5, 0, ProgressSteps));
            ShowIfHidden();
            break;
        case LinkDownloadComplete:
            HintLable->setText(QStringLiteral("数据传输完毕!"));
            if (isVisible()) {
                ProgressBar1->setValue(0);
                close();
            }
            break;
        default:
            if (isVisible())
                close();
            break;
        }
    });
}
