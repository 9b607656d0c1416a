#pragma once
// TForm9, "关于": product, version and maker, with a link to the maker's
// web site.

#include "common/Edition.h"

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

class TForm9 : public QDialog {
    Q_OBJECT
public:
    static inline const QString MakerFullName = QStringLiteral("Vantrel 表面计量仪器有限公司");
    static inline const QString InformationLine = QStringLiteral("专业从事表面粗糙度测量仪器的研发、生产与服务");
    static inline const QString Notice = QStringLiteral("本软件受著作权法保护，未经许可不得复制或传播。");

    // `webAddress` is shown in the link label.
    TForm9(Edition edition, const QString &webAddress, QWidget *parent = nullptr);

    // The main window's web action, run by a click on the link label.
    std::function<void()> BrowseVantrel;

    QFrame *Panel1 = nullptr;  // lowered frame around everything
    QFrame *Panel2 = nullptr;  // the coloured inner panel
    QLabel *Image1 = nullptr;  // the product logo
    QLabel *Label1 = nullptr;  // maker
    QLabel *Label2 = nullptr;  // maker's full name
    QLabel *Label3 = nullptr;  // product
    QLabel *Label4 = nullptr;  // platform
    QLabel *Label5 = nullptr;  // version
    QLabel *Label6 = nullptr;  // information line
    QLabel *Label7 = nullptr;  // "公司主页："
    QLabel *Label8 = nullptr;  // web address
    QLabel *Label9 = nullptr;  // separator
    QLabel *Label10 = nullptr; // "警告："
    QLabel *Label11 = nullptr; // notice
    QPushButton *Button1 = nullptr;

    void Label8Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *AddLabel(const QString &text, int left, int top, int pixelSize, bool bold = false);

    Edition TheEdition;
    bool Placed = false;
};
