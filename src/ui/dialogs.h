// One small service for every modal question, message and standard dialog.
//
// Core code and windows ask through dialogs(); the program installs the Qt
// implementation at start, tests install a ScriptedDialogs that answers from a
// queue and records what was asked.
#pragma once

#include "ui/bitmap32.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

enum class MsgKind { Information, Warning, Error, Confirmation };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString caption;
    QString folder;       // initial folder
    QString filter;       // "Seismes|*.fse|Texte|*.txt" style: caption|mask pairs
    int filterIndex = 1;  // 1-based, as in the filter strings
    QString defaultExt;   // without the dot
    QString fileName;     // initial file name
    bool overwritePrompt = true;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual MsgResult message(MsgKind kind, const QString& text, MsgButtons buttons) = 0;
    // Empty result: cancelled.
    virtual QString openFile(const FileDialogRequest& req) = 0;
    virtual QString saveFile(const FileDialogRequest& req) = 0;
    // False: cancelled (the value is left unchanged).
    virtual bool chooseColor(TColor32& colour) = 0;
    virtual bool chooseFont(QFont& font) = 0;
};

DialogService& dialogs();
// Installs a service (not owned); nullptr restores the default, which answers every
// question with No/Cancel and prints messages on the standard error stream.
void setDialogService(DialogService* service);

// Shorthands.
void showInformation(const QString& text);
void showWarning(const QString& text);
void showError(const QString& text);
bool askYesNo(const QString& text);    // true on Yes
bool askOkCancel(const QString& text); // true on Ok

// For tests: answers from queues (No/Cancel/empty when a queue is empty) and records
// every message shown.
class ScriptedDialogs : public DialogService {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        MsgButtons buttons;
    };
    std::deque<MsgResult> answers;
    std::deque<QString> files;
    std::deque<TColor32> colours; // an entry of 0 means "cancel"
    std::deque<QFont> fonts;
    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileRequests;

    MsgResult message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    QString openFile(const FileDialogRequest& req) override;
    QString saveFile(const FileDialogRequest& req) override;
    bool chooseColor(TColor32& colour) override;
    bool chooseFont(QFont& font) override;

    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }
};

// Installs a service for the lifetime of the guard, then restores the previous one.
class DialogServiceGuard {
public:
    explicit DialogServiceGuard(DialogService* s);
    ~DialogServiceGuard();
    DialogServiceGuard(const DialogServiceGuard&) = delete;
    DialogServiceGuard& operator=(const DialogServiceGuard&) = delete;

private:
    DialogService* previous_;
};
