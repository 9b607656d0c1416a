#include "ui/aboutunit.h"

#include "report/ReportLogo.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QColor SkyBlue(166, 202, 240);
// A pale teal: black text and the blue link are hard to read on full teal.
const QColor Teal(168, 214, 210);
const QColor Purple(128, 0, 128);

QFont SongFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

TForm9::TForm9(Edition edition, const QString &webAddress, QWidget *parent) : QDialog(parent), TheEdition(edition)
{
    const bool station = edition == Edition::Station;
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(530, 431);
    setModal(false);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);
    Panel1->setGeometry(rect());
    auto *fill = new QVBoxLayout(Panel1);
    fill->setContentsMargins(3, 3, 3, 3);

    Panel2 = new QFrame(Panel1);
    Panel2->setAutoFillBackground(true);
    QPalette panelColour = Panel2->palette();
    panelColour.setColor(QPalette::Window, station ? SkyBlue : Teal);
    Panel2->setPalette(panelColour);
    if (!station) {
        Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Panel2->setLineWidth(2);
    }
    fill->addWidget(Panel2);

    const int logoSide = station ? 104 : 80;
    Image1 = new QLabel(Panel2);
    Image1->setGeometry(25, 24, logoSide, station ? 105 : 80);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(VantrelLogo()));

    Label1 = AddLabel(QStringLiteral("Vantrel"), 147, 32, 24, true);
    Label2 = AddLabel(MakerFullName, 147, 77, 13);
    if (station) {
        Label3 = AddLabel(QStringLiteral("Corvia For PX510 "), 147, 107, 24, true);
        SetTextColour(Label3, Purple);
    } else {
        Label3 = AddLabel(QStringLiteral("粗糙度测量仪系统软件"), 147, 107, 24, true);
        SetTextColour(Label3, Qt::black);
    }
    Label4 = AddLabel(QStringLiteral("for Linux"), 147, 145, 13);
    Label5 = AddLabel(QStringLiteral("版本：1.0.0.0"), 147, 174, 13);
    Label6 = AddLabel(InformationLine, 147, 204, 13);
    Label7 = AddLabel(QStringLiteral("公司主页："), 144, 240, 13);
    Label8 = AddLabel(webAddress, 216, 242, 13);
    QFont underlined = Label8->font();
    underlined.setUnderline(true);
    Label8->setFont(underlined);
    Label8->adjustSize();
    SetTextColour(Label8, Qt::blue);
    Label8->setCursor(Qt::PointingHandCursor);
    Label8->installEventFilter(this);
    Label9 = AddLabel(QString(60, QLatin1Char('-')), 99, 268, 13);
    Label10 = AddLabel(QStringLiteral("警告："), 147, 292, 13);
    Label11 = AddLabel(Notice, 147, 316, 13);

    if (station) {
        Button1 = new QPushButton(QStringLiteral("确定"), Panel2);
        Button1->setGeometry(344, 344, 80, 27);
    } else {
        Button1 = new QPushButton(QStringLiteral("确 定"), Panel2);
        Button1->setGeometry(432, 344, 57, 25);
    }
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);
}

QLabel *TForm9::AddLabel(const QString &text, int left, int top, int pixelSize, bool bold)
{
    auto *label = new QLabel(text, Panel2);
    label->setFont(SongFont(pixelSize, bold));
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TForm9::Label8Click()
{
    if (BrowseVantrel)
        BrowseVantrel();
}

bool TForm9::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label8 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label8Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The full edition opens centred on the screen; the other where the window
// system puts it.
void TForm9::showEvent(QShowEvent *event)
{
    if (!Placed && TheEdition == Edition::Station) {
        if (QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        Placed = true;
    }
    QDialog::showEvent(event);
}
