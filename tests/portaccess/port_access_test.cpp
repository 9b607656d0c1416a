// A serial device whose file mode denies this user: Connect's warning gets
// the line that says so and how to fix it.
//
// Root opens any device whatever its mode, so when the tests run as root the
// port operations run with "nobody" as the effective user (the real user stays
// root, so the test can switch back).

#include "ScriptedDialogs.h"

#include "link/ComToPX510Unit.h"
#include "link/PortPermission.h"
#include "link/QtSerialComm.h"
#include "ui/main.h"

#include <QAction>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A pseudo-terminal with no tester behind it; its device gets `mode`.
class Terminal {
public:
    explicit Terminal(mode_t mode)
    {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (Master >= 0 && ::grantpt(Master) == 0 && ::unlockpt(Master) == 0)
            Path = QString::fromLocal8Bit(::ptsname(Master));
        if (!Path.isEmpty())
            ::chmod(QFile::encodeName(Path).constData(), mode);
    }
    ~Terminal()
    {
        if (Master >= 0)
            ::close(Master);
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;

    QString Path;

private:
    int Master = -1;
};

// While it lives, file modes count for this process as for an operator.
class AsOperator {
public:
    AsOperator()
    {
        if (::geteuid() != 0)
            return;
        const passwd *pw = ::getpwnam("nobody");
        Switched = ::seteuid(pw ? pw->pw_uid : 65534) == 0;
    }
    ~AsOperator()
    {
        if (!Switched)
            return;
        if (::seteuid(0) != 0)
            std::abort(); // the rest of the run would not be what it claims
        // Changing the user made the process undumpable; the leak checker of
        // sanitizer runs needs it dumpable again.
        ::prctl(PR_SET_DUMPABLE, 1);
    }
    AsOperator(const AsOperator &) = delete;
    AsOperator &operator=(const AsOperator &) = delete;

    bool Ready() const { return Switched || ::geteuid() != 0; }

private:
    bool Switched = false;
};

QString GroupOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const group *owner = ::getgrgid(info.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

const QString NoTester = QStringLiteral("无法连接到PX510上，请确认是否已经连接好了设备！");

TEST(PortPermission, OnlyADeviceWhoseModeDeniesTheUserIsNotedAndTheNoteGoesWithTheNextOpening)
{
    Terminal denied(0);
    Terminal usable(0666);
    ASSERT_FALSE(denied.Path.isEmpty());
    ASSERT_FALSE(usable.Path.isEmpty());
    const QString missing = QStringLiteral("/dev/px510-no-such-device");
    QtSerialComm comm({denied.Path, missing, usable.Path});
    {
        AsOperator op;
        ASSERT_TRUE(op.Ready());
        for (int port = 1; port <= 3; ++port)
            comm.sio_open(port);
        EXPECT_NE(comm.sio_open(1), CommResult::Ok);
    }
    EXPECT_EQ(comm.RefusedDevices(), (std::map<int, std::string>{{1, denied.Path.toStdString()}}))
        << "a missing device or one the user may open is no permission problem";

    // Allowed now: the next opening clears the note.
    ::chmod(QFile::encodeName(denied.Path).constData(), 0666);
    {
        AsOperator op;
        comm.sio_open(1);
    }
    EXPECT_TRUE(comm.RefusedDevices().empty());
}

TEST(ConnectWarning, AddsThePermissionLineWhenADeviceMayNotBeUsed)
{
    Terminal denied(0);
    ASSERT_FALSE(denied.Path.isEmpty());
    const QString group = GroupOf(denied.Path);
    const struct {
        QStringList Ports;
        QString Warning;
    } cases[] = {
        {{QStringLiteral("/dev/px510-no-such-device")}, NoTester},
        {{QStringLiteral("/dev/px510-no-such-device"), denied.Path},
         NoTester
             + QStringLiteral("\n没有权限打开串口 %1（用户组 %2）：请把当前用户加入拥有该设备的用户组"
                              "（sudo usermod -aG %2 $USER），然后注销并重新登录。")
                   .arg(denied.Path, group)},
    };
    for (const auto &c : cases) {
        ScriptedDialogs dialogs;
        TComToPX510 comLink;
        comLink.UseComm(std::make_shared<QtSerialComm>(c.Ports));
        TForm1 form(comLink, dialogs, Edition::Station);
        form.UpdateActions();
        {
            AsOperator op;
            ASSERT_TRUE(op.Ready());
            form.StartConnect->trigger();
        }
        EXPECT_EQ(dialogs.Warnings, QStringList{c.Warning}) << c.Ports.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(comLink.LinkState, LinkDisconnected);
    }
}

TEST(PortPermission, TheHintNamesEveryRefusedDeviceAndItsGroupsOnce)
{
    Terminal first(0), second(0);
    const QString group = GroupOf(first.Path);
    ASSERT_FALSE(group.isEmpty());
    EXPECT_EQ(PortPermission::Hint({first.Path, second.Path}),
              QStringLiteral("没有权限打开串口 %1（用户组 %3）、%2（用户组 %3）：请把当前用户加入拥有该设备的用户组"
                             "（sudo usermod -aG %3 $USER），然后注销并重新登录。")
                  .arg(first.Path, second.Path, group));
    EXPECT_TRUE(PortPermission::Hint({}).isEmpty());
}

} // namespace
