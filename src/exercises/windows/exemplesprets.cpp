#include "exercises/windows/exemplesprets.h"

#include "exercises/exemples.h"
#include "ui/dialogs.h"

bool exemplesPrets(TExemples& exemples, GenreExercice genre)
{
    const ResultatExemples r = exemples.assurer();
    if (!r.ok) {
        showError(r.message + QStringLiteral("\nL'exercice ne peut pas commencer."));
        return false;
    }
    // Lines skipped: said once, when the file is read.
    if (!r.message.isEmpty())
        showWarning(r.message);
    if (!exerciceFaisable(exemples.liste(), genre)) {
        showWarning(messageExemplesInsuffisants(genre, static_cast<int>(exemples.liste().size())));
        return false;
    }
    return true;
}
