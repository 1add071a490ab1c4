// Volcano type and activity codes: the keywords recognised in volcano lists, the
// French texts shown to the user and the colour classes of the volcano layer.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

struct TypeVolcanDef {
    std::uint8_t code;
    const char* motCle;  // upper-case English keyword searched in a volcano list
    const char* texte;   // French text, UTF-8
};

// The known volcano types, in increasing code order (code 0, "none", is not listed).
const std::vector<TypeVolcanDef>& typesVolcans();

// French text of a type code; empty for 0 and for any code not in the table.
QString texteTypeVolcan(int code);

// Colour classes of the volcano layer, decided by the code's range alone.
enum ClasseCouleurVolcan {
    ClasseLaveFluide = 0,            // 0-5
    ClasseSousMarin = 1,             // 6-9, submarine or subglacial
    ClasseLaveVisqueuse = 2,         // 10-19, viscous lava or explosive
    ClasseConeProjections = 3,       // 20-29
    ClasseAutre = 4,                 // 30 and above: fumaroles, hydrothermal fields
};
constexpr int NbClassesCouleurVolcan = 5;
int classeCouleurVolcan(int code);

// Type code of a volcano list's type text: every keyword is searched in the
// upper-cased text in code order and the last one found (the highest code) wins;
// 0 when none occurs.
int codeTypeVolcanDepuisTexte(const QByteArray& texte);

// Activity (date class of the last known activity).
constexpr int NbCodesActivite = 10;  // 0..9
// French text of an activity code; "dernière activité ?" for 0 and unknown codes.
QString texteActivite(int code);
// Code of the two-character field of a volcano list ("D1".."D7", "U ", "Q "),
// compared upper-cased and whole; 0 for anything else.
int codeActiviteDepuisTexte(const QByteArray& deuxCaracteres);
