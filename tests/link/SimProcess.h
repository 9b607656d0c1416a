#pragma once
// A px510sim running on its own pseudo-terminal for the length of a test.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class SimProcess {
public:
    explicit SimProcess(QStringList options)
    {
        Link = Folder.filePath(QStringLiteral("tester"));
        Process.setProgram(QStringLiteral(PX510_PROGRAM_DIR "/px510sim"));
        Process.setArguments(QStringList{QStringLiteral("--link"), Link} + options);
        Process.setProcessChannelMode(QProcess::SeparateChannels);
        Process.start();
        QElapsedTimer clock;
        clock.start();
        while (!Output.contains("link ") && clock.elapsed() < 5000 && Process.state() != QProcess::NotRunning) {
            Process.waitForReadyRead(100);
            Output += Process.readAllStandardOutput();
        }
    }
    ~SimProcess() { Stop(); }
    bool Ready() const { return Output.contains("link ") && QFileInfo::exists(Link); }

    // Ends the simulator the way a user does (SIGTERM) and returns what it printed.
    QByteArray Stop()
    {
        if (Process.state() != QProcess::NotRunning) {
            Process.terminate();
            if (!Process.waitForFinished(3000)) {
                Process.kill();
                Process.waitForFinished(1000);
            }
        }
        Output += Process.readAllStandardOutput();
        return Output;
    }

    QTemporaryDir Folder;
    QString Link;
    QProcess Process;
    QByteArray Output;
};
