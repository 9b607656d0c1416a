#pragma once
// Dialogs for tests: answers come from queues, and everything shown is kept.

#include "common/Dialogs.h"

#include <QStringList>
#include <deque>

class ScriptedDialogs : public Dialogs {
public:
    std::deque<bool> YesNoAnswers;                  // empty queue answers No
    std::deque<std::optional<QString>> LineAnswers; // empty queue cancels
    std::deque<std::optional<QString>> FileAnswers; // empty queue cancels

    QStringList Questions, Warnings, Informations, LinePrompts, FilePrompts;

    bool AskYesNo(const QString &, const QString &text) override
    {
        Questions << text;
        if (YesNoAnswers.empty())
            return false;
        bool answer = YesNoAnswers.front();
        YesNoAnswers.pop_front();
        return answer;
    }
    void Warn(const QString &, const QString &text) override { Warnings << text; }
    void Inform(const QString &, const QString &text) override { Informations << text; }
    std::optional<QString> InputLine(const QString &, const QString &label, const QString &) override
    {
        LinePrompts << label;
        return next(LineAnswers);
    }
    std::optional<QString> OpenFileName(const QString &title, const QString &) override
    {
        FilePrompts << title;
        return next(FileAnswers);
    }
    std::optional<QString> SaveFileName(const QString &title, const QString &) override
    {
        FilePrompts << title;
        return next(FileAnswers);
    }

private:
    static std::optional<QString> next(std::deque<std::optional<QString>> &queue)
    {
        if (queue.empty())
            return std::nullopt;
        bool given = queue.front().has_value();
        QString text = given ? *queue.front() : QString();
        queue.pop_front();
        if (!given)
            return std::nullopt;
        return text;
    }
};
