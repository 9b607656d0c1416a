#pragma once
// Every entry point from Qt (an action, a slot, a timer) runs its work through
// RunGuarded: an error stops the work where it was, is shown once, and the
// program goes on. No exception ever travels through Qt's own code.

#include "common/Dialogs.h"
#include "common/Errors.h"

#include <exception>
#include <utility>

template <typename Work>
bool RunGuarded(Dialogs &dialogs, Work &&work)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const PX510Error &e) {
        dialogs.Warn(QStringLiteral("错误"), e.message());
    } catch (const std::exception &e) {
        dialogs.Warn(QStringLiteral("错误"), QString::fromLocal8Bit(e.what()));
    }
    return false;
}
