// The dialog service of the running program: Qt message boxes with French buttons,
// and Qt's own file, colour and font dialogs (never the desktop's, whose texts
// would follow the desktop's language rather than the program's French).
#pragma once

#include "ui/dialogs.h"

#include <QStringList>

class QtDialogService : public DialogService {
public:
    MsgResult message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    QString openFile(const FileDialogRequest& req) override;
    QString saveFile(const FileDialogRequest& req) override;
    bool chooseColor(TColor32& colour) override;
    bool chooseFont(QFont& font) override;

    // "Séismes|*.fse|Texte|*.txt;*.csv" -> {"Séismes (*.fse)", "Texte (*.txt *.csv)"}.
    static QStringList qtFilters(const QString& filter);
    // The masks of the index-th pair (1-based) of a filter string; empty if none.
    static QStringList filterMasks(const QString& filter, int index);
    // The name as the user typed it, with "." + defaultExt added when it has no
    // extension; without defaultExt, the extension of the chosen filter's first mask
    // when it names one ("*.png" gives "png", "*.*" nothing).
    static QString completeName(const QString& name, const QString& defaultExt, const QStringList& chosenMasks);

private:
    QString runFileDialog(const FileDialogRequest& req, bool save);
};
