#include "ui/windows/patience.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

TPatience::TPatience(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Patience"));
    setWindowTitle(QStringLiteral("Patience"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* l = new QVBoxLayout(this);
    Texte = new QLabel(QStringLiteral("Calculs en cours... Patience !"), this);
    Texte->setObjectName(QStringLiteral("Texte"));
    Texte->setAlignment(Qt::AlignCenter);
    QFont f = Texte->font();
    f.setPointSize(f.pointSize() + 2);
    f.setBold(true);
    Texte->setFont(f);
    l->addWidget(Texte);
    l->setContentsMargins(30, 20, 30, 20);
}

bool executerAvecPatience(const std::function<void()>& calcul, QWidget* parent, int delaiMs)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Curseur {
        ~Curseur() { QApplication::restoreOverrideCursor(); }
    } curseur;
    std::future<void> fin = std::async(std::launch::async, calcul);
    if (fin.wait_for(std::chrono::milliseconds(std::max(0, delaiMs))) == std::future_status::ready) {
        fin.get();
        return false;
    }
    {
        TPatience fenetre(parent);
        fenetre.show();
        fenetre.raise();
        // Only repaints and window-system events: the user's input waits for the end.
        while (fin.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    fin.get();
    return true;
}
