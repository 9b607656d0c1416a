#pragma once
// TForm7, "提示对话框": watches the session while the tester measures and
// sends its data, shows how far it has got, and turns an error the tester
// reported into a message, after which the link is closed.

#include <QDialog>

class Dialogs;
class QLabel;
class QProgressBar;
class QTimer;
class TComToPX510;

// The moving picture of the window: a stylus gliding over a rough surface,
// drawn by the program. It runs only while it can be seen.
class TProgressAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int FrameMs = 40;
    static constexpr int FramesPerPass = 100; // one pass of the stylus

    explicit TProgressAnimation(QWidget *parent = nullptr);

    int Frame() const { return CurrentFrame; }
    void SetFrame(int frame);
    bool Running() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer *FrameTimer = nullptr;
    int CurrentFrame = 0;
};

class TForm7 : public QDialog {
    Q_OBJECT
public:
    static constexpr int TickMs = 3000;
    static constexpr int ProgressSteps = 20;

    TForm7(TComToPX510 &comLink, Dialogs &dialogs, QWidget *parent = nullptr);

    // The timer runs from creation and stops after reporting an error; the
    // main window starts it again once the tester has acknowledged a start.
    void StartWatching();
    // One look at the session: what Timer1 does every three seconds.
    void Timer1Timer();

    QLabel *HintLable = nullptr;
    TProgressAnimation *Animation = nullptr; // in place of the movie
    QLabel *Label2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QTimer *Timer1 = nullptr;

private:
    void ShowIfHidden();
    void ReportError(int code);

    TComToPX510 &ComLink;
    Dialogs &Messages;
};
