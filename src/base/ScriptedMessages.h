#pragma once
// Test stand-in for the message boxes: records every text and answers confirmations from a script.

#include "Messages.h"

#include <QQueue>
#include <QStringList>

class ScriptedMessages final : public MessagePresenter {
public:
    ScriptedMessages() : m_previous(SetMessagePresenter(this)) {}
    ~ScriptedMessages() override { SetMessagePresenter(m_previous); }

    bool info(const QString &text) override
    {
        shown << text;
        return true;
    }
    bool confirm(const QString &text) override
    {
        shown << text;
        asked << text;
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }

    QStringList shown;          // every text, in order
    QStringList asked;          // the confirmations among them
    QQueue<bool> answers;       // next answers of ConfirmBox
    bool defaultAnswer = false; // when the script ran out

private:
    MessagePresenter *m_previous;
};
