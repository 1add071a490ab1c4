#include "ui/dialogs.h"

#include <cstdio>

namespace {

// The answer given when nobody is there to choose: OK to a plain message, otherwise
// the cautious button.
MsgResult reponseNegative(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::OkCancel:
        return MsgResult::Cancel;
    case MsgButtons::YesNo:
        return MsgResult::No;
    }
    return MsgResult::Cancel;
}

class SilentDialogs : public DialogService {
public:
    MsgResult message(MsgKind, const QString& text, MsgButtons buttons) override
    {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return reponseNegative(buttons);
    }
    QString openFile(const FileDialogRequest&) override { return {}; }
    QString saveFile(const FileDialogRequest&) override { return {}; }
    bool chooseColor(TColor32&) override { return false; }
    bool chooseFont(QFont&) override { return false; }
};

SilentDialogs silentDialogs;
DialogService* current = nullptr;

} // namespace

DialogService& dialogs()
{
    return current ? *current : static_cast<DialogService&>(silentDialogs);
}

void setDialogService(DialogService* service)
{
    current = service;
}

void showInformation(const QString& text)
{
    dialogs().message(MsgKind::Information, text, MsgButtons::Ok);
}

void showWarning(const QString& text)
{
    dialogs().message(MsgKind::Warning, text, MsgButtons::Ok);
}

void showError(const QString& text)
{
    dialogs().message(MsgKind::Error, text, MsgButtons::Ok);
}

bool askYesNo(const QString& text)
{
    return dialogs().message(MsgKind::Confirmation, text, MsgButtons::YesNo) == MsgResult::Yes;
}

bool askOkCancel(const QString& text)
{
    return dialogs().message(MsgKind::Warning, text, MsgButtons::OkCancel) == MsgResult::Ok;
}

MsgResult ScriptedDialogs::message(MsgKind kind, const QString& text, MsgButtons buttons)
{
    shown.push_back({kind, text, buttons});
    if (!answers.empty()) {
        const MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    return reponseNegative(buttons);
}

QString ScriptedDialogs::openFile(const FileDialogRequest& req)
{
    fileRequests.push_back(req);
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedDialogs::saveFile(const FileDialogRequest& req)
{
    return openFile(req);
}

bool ScriptedDialogs::chooseColor(TColor32& colour)
{
    if (colours.empty())
        return false;
    const TColor32 c = colours.front();
    colours.pop_front();
    if (c == 0)
        return false;
    colour = c | 0xFF000000u;
    return true;
}

bool ScriptedDialogs::chooseFont(QFont& font)
{
    if (fonts.empty())
        return false;
    font = fonts.front();
    fonts.pop_front();
    return true;
}

DialogServiceGuard::DialogServiceGuard(DialogService* s) : previous_(current)
{
    current = s;
}

DialogServiceGuard::~DialogServiceGuard()
{
    current = previous_;
}
