// The about window in both editions: what it says, its link and its button.

#include "ui/aboutunit.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

const QString Web = QStringLiteral("https://www.vantrel.example/");

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// Contrast of two colours as the web accessibility guidelines reckon it (1 .. 21).
double Contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(AboutWindow, LayoutPerEdition)
{
    const struct {
        Edition edition;
        QString product;
        QColor productColour;
        QColor panelColour;
        QString button;
        QRect buttonArea;
        int logoWidth;
    } cases[] = {
        {Edition::Station, QStringLiteral("Corvia For PX510 "), QColor(128, 0, 128), QColor(166, 202, 240),
         QStringLiteral("确定"), QRect(344, 344, 80, 27), 104},
        {Edition::View, QStringLiteral("粗糙度测量仪系统软件"), QColor(Qt::black), QColor(168, 214, 210),
         QStringLiteral("确 定"), QRect(432, 344, 57, 25), 80},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.product.toStdString());
        TForm9 form(c.edition, Web);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("关于"));
        EXPECT_EQ(form.size(), QSize(530, 431));
        EXPECT_EQ(form.Label1->text(), QStringLiteral("Vantrel"));
        EXPECT_EQ(form.Label3->text(), c.product);
        EXPECT_EQ(TextColour(form.Label3), c.productColour);
        EXPECT_EQ(form.Panel2->palette().color(QPalette::Window), c.panelColour);
        EXPECT_EQ(form.Button1->text(), c.button);
        EXPECT_EQ(form.Button1->geometry(), c.buttonArea);
        EXPECT_EQ(form.Image1->width(), c.logoWidth);
        EXPECT_FALSE(form.Image1->pixmap().isNull());
        EXPECT_EQ(form.Label5->text(), QStringLiteral("版本：1.0.0.0"));
        EXPECT_EQ(form.Label7->text(), QStringLiteral("公司主页："));
        EXPECT_EQ(form.Label10->text(), QStringLiteral("警告："));
        EXPECT_EQ(form.Label8->text(), Web);
        EXPECT_EQ(TextColour(form.Label8), QColor(Qt::blue));
        EXPECT_TRUE(form.Label8->font().underline());
        EXPECT_EQ(form.Label8->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_FALSE(form.isModal());
        // Every text reads well on its panel (the normal-text level of the guidelines).
        const QColor panel = form.Panel2->palette().color(QPalette::Window);
        for (const QLabel *label : form.Panel2->findChildren<QLabel *>())
            if (!label->text().isEmpty()) {
                EXPECT_GE(Contrast(TextColour(label), panel), 4.5) << label->text().toStdString();
            }
    }
}

TEST(AboutWindow, TheLinkRunsTheWebActionAndTheButtonCloses)
{
    TForm9 form(Edition::Station, Web);
    int browsed = 0;
    form.BrowseVantrel = [&] { ++browsed; };
    form.show();
    QTest::mouseClick(form.Label8, Qt::LeftButton);
    EXPECT_EQ(browsed, 1);
    QTest::mouseClick(form.Label7, Qt::LeftButton); // only the address is a link
    EXPECT_EQ(browsed, 1);
    EXPECT_TRUE(form.isVisible());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
