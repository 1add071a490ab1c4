#include "ui/windows/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QString title()
{
    const QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Orbiplate") : t;
}

} // namespace

MsgResult QtDialogService::message(MsgKind kind, const QString& text, MsgButtons buttons)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title());
    box.setText(text);
    switch (kind) {
    case MsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
    case MsgButtons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setEscapeButton(ok);
        break;
    case MsgButtons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        break;
    case MsgButtons::YesNo:
        yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    }
    box.setDefaultButton(ok ? ok : yes);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    if (buttons == MsgButtons::OkCancel)
        return clicked == ok ? MsgResult::Ok : MsgResult::Cancel;
    return clicked == yes ? MsgResult::Yes : MsgResult::No;
}

QStringList QtDialogService::qtFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& m : masks)
            m = m.trimmed();
        QString caption = parts[i].trimmed();
        if (caption.isEmpty())
            caption = masks.join(QLatin1Char(' '));
        // A caption that already shows its masks in brackets would confuse Qt's
        // own parsing; use round brackets only for the mask list.
        out << caption.replace(QLatin1Char('('), QLatin1Char('[')).replace(QLatin1Char(')'), QLatin1Char(']')) +
                   QStringLiteral(" (") + masks.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

QStringList QtDialogService::filterMasks(const QString& filter, int index)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    const int i = 2 * (index - 1) + 1;
    if (index < 1 || i >= parts.size())
        return {};
    QStringList masks = parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& m : masks)
        m = m.trimmed();
    return masks;
}

QString QtDialogService::completeName(const QString& name, const QString& defaultExt, const QStringList& chosenMasks)
{
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext.isEmpty() && !chosenMasks.isEmpty()) {
        const QString m = chosenMasks.first();
        const QString rest = m.mid(2);
        if (m.startsWith(QStringLiteral("*.")) && !rest.contains(QLatin1Char('*')) && !rest.contains(QLatin1Char('?')))
            ext = rest;
    }
    if (ext.isEmpty())
        return name;
    QString base = name;
    if (base.endsWith(QLatin1Char('.')))
        base.chop(1);
    return base + QLatin1Char('.') + ext;
}

QString QtDialogService::runFileDialog(const FileDialogRequest& req, bool save)
{
    QFileDialog dlg(dialogParent(), req.caption.isEmpty() ? title() : req.caption, req.folder);
    const QStringList filters = qtFilters(req.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        const int idx = std::clamp(req.filterIndex, 1, static_cast<int>(filters.size()));
        dlg.selectNameFilter(filters[idx - 1]);
    }
    // Qt's own dialog: its texts are the program's French ones whatever the desktop.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The extension may be added after the dialog closes: the overwrite question is
    // asked here, on the final name.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setLabelText(QFileDialog::LookIn, QStringLiteral("Dossier :"));
    dlg.setLabelText(QFileDialog::FileName, QStringLiteral("Nom du fichier :"));
    dlg.setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dlg.setLabelText(QFileDialog::Accept, save ? QStringLiteral("Enregistrer") : QStringLiteral("Ouvrir"));
    dlg.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    if (!req.fileName.isEmpty())
        dlg.selectFile(req.fileName);
    // Room for the name, size, type and date columns.
    QSize taille(860, 520);
    if (const QScreen* ecran = dlg.screen())
        taille = taille.boundedTo(ecran->availableGeometry().size());
    dlg.resize(taille);
    if (auto* cote = dlg.findChild<QSplitter*>())
        cote->setSizes({150, taille.width() - 150});
    if (auto* vue = dlg.findChild<QTreeView*>()) {
        const int largeurs[] = {300, 100, 90, 170};
        for (int c = 0; c < 4; ++c)
            vue->header()->resizeSection(c, largeurs[c]);
    }
    for (;;) {
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return {};
        QString name = dlg.selectedFiles().first();
        if (!save)
            return name;
        const int chosen = filters.indexOf(dlg.selectedNameFilter()) + 1;
        name = completeName(name, req.defaultExt, filterMasks(req.filter, chosen));
        if (!req.overwritePrompt || !QFileInfo::exists(name))
            return name;
        if (message(MsgKind::Confirmation,
                    QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?")
                        .arg(QFileInfo(name).fileName()),
                    MsgButtons::YesNo) == MsgResult::Yes)
            return name;
    }
}

QString QtDialogService::openFile(const FileDialogRequest& req)
{
    return runFileDialog(req, false);
}

QString QtDialogService::saveFile(const FileDialogRequest& req)
{
    return runFileDialog(req, true);
}

bool QtDialogService::chooseColor(TColor32& colour)
{
    QColorDialog dlg(QColor::fromRgb(colour | 0xFF000000u), dialogParent());
    dlg.setWindowTitle(QStringLiteral("Couleur"));
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QColor c = dlg.selectedColor();
    if (!c.isValid())
        return false;
    colour = color32(c.red(), c.green(), c.blue(), 255);
    return true;
}

bool QtDialogService::chooseFont(QFont& font)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, font, dialogParent(), QStringLiteral("Police"),
                                         QFontDialog::DontUseNativeDialog);
    if (ok)
        font = f;
    return ok;
}
