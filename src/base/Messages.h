#pragma once
// Every message of the program goes through InfoBox and ConfirmBox. What shows them is
// replaceable: the framework installs the program's own boxes, tests install a scripted stand-in
// that records each text and answers as told.

#include <QString>

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // true when closed with OK
    virtual bool info(const QString &text) = 0;
    // true only for "Igen"
    virtual bool confirm(const QString &text) = 0;
};

// Installs presenter (not owned); nullptr restores the fallback, which writes the text to
// standard error and answers false. Returns the previous presenter.
MessagePresenter *SetMessagePresenter(MessagePresenter *presenter);
MessagePresenter *CurrentMessagePresenter();

bool InfoBox(const QString &text);
bool ConfirmBox(const QString &text);
