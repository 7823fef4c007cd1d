#include "Messages.h"

#include <QTextStream>

namespace {

class StderrPresenter final : public MessagePresenter {
public:
    bool info(const QString &text) override
    {
        QTextStream(stderr) << text << '\n';
        return false;
    }
    bool confirm(const QString &text) override
    {
        QTextStream(stderr) << text << " -> Nem\n";
        return false;
    }
};

StderrPresenter g_fallback;
MessagePresenter *g_presenter = nullptr;

} // namespace

MessagePresenter *SetMessagePresenter(MessagePresenter *presenter)
{
    MessagePresenter *old = g_presenter;
    g_presenter = presenter;
    return old;
}

MessagePresenter *CurrentMessagePresenter() { return g_presenter ? g_presenter : &g_fallback; }

bool InfoBox(const QString &text) { return CurrentMessagePresenter()->info(text); }

bool ConfirmBox(const QString &text) { return CurrentMessagePresenter()->confirm(text); }
