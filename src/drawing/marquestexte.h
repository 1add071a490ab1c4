// The mark buttons of the text entry dialog: bold, italic, underline, superscript
// and subscript, turned into the markup tags of the rich-text renderer inserted
// into or removed from the typed text.
#pragma once

#include <QString>

// Buttons, as their tags: 0 bold, 1 italic, 2 underline, 3 superscript, 4 subscript.
QString baliseOuvrante(int bouton);
QString baliseFermante(int bouton);

// The text, the caret (the selection's start, in characters from 0, line breaks
// counted) and the selection's length.
struct TexteSaisi {
    QString texte;
    int curseur = 0;
    int longueur = 0;
    bool operator==(const TexteSaisi& o) const
    {
        return texte == o.texte && curseur == o.curseur && longueur == o.longueur;
    }
};

// What a click on a mark button does. Pressed down: the opening tag is inserted at
// the caret, and with a selection the closing tag after it, so the selection is
// wrapped and stays selected (the caret after the opening tag). Released with a
// selection: when the opening tag stands just before the selection it is removed,
// with the closing tag just after it if it is there, and the selection moves back
// by the opening tag's length; otherwise nothing changes. Released without a
// selection: the closing tag is inserted at the caret, which moves after it. The
// selection keeps its length in every case. Out-of-range carets are brought back
// into the text.
TexteSaisi appliquerMarque(const TexteSaisi& avant, int bouton, bool enfonce);
