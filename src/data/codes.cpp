#include "data/codes.h"

namespace {

const std::vector<TypeVolcanDef> kTypes = {
    {1, "FISSURE VENT", "Volcan fissure"},
    {2, "VOLCANIC FIELD", "Champ volcanique"},
    {3, "SHIELD VOLCANO", "Volcan bouclier"},
    {4, "LAVA CONE", "Cône de lave"},
    {5, "CRATER ROW", "Ligne de cratères"},
    {6, "SUBMARINE VOLCANO", "Volcan sous-marin"},
    {7, "SUBGLACIAL VOLCANO", "Volcan sous un glacier"},
    {10, "MAAR", "Maar"},
    {11, "CALDERA", "Caldera"},
    {12, "EXPLOSION CRATER", "Cratère d'explosion"},
    {13, "LAVA DOME", "Dôme de lave"},
    {14, "PUMICE CONE", "Cône de ponce"},
    {15, "CINDER CONE", "Cône de cendres"},
    {20, "STRATOVOLCANO", "Strato-volcan"},
    {21, "TUFF CONE", "Cône de tuff"},
    {22, "TUFF RING", "Anneau de tuff"},
    {23, "SCORIA CONE", "Cône de scories"},
    {24, "PYROCLASTIC CONE", "Cône pyroclastique"},
    {25, "PYROCLASTIC SHIELD", "Bouclier pyroclastique"},
    {26, "COMPOUND VOLCANO", "Volcan composé"},
    {27, "COMPLEX VOLCANO", "Volcan complexe"},
    {30, "HYDROTHERMAL FIELD", "Champ hydrothermal"},
    {31, "FUMAROLE FIELD", "Champ de fumeroles"},
};

const char* const kActivites[NbCodesActivite] = {
    "dernière activité ?",
    "actif depuis 1964",
    "actif au 20e siècle",
    "actif au 19e siècle",
    "actif au 18e siècle",
    "actif au 16e ou au 17e siècle",
    "actif du 1er au 15e siècle",
    "actif au cours de l'Holocène",
    "probablement actif à l'Holocène",
    "probablement actif au Quaternaire",
};

const char* const kCodesActivite[NbCodesActivite] = {
    nullptr, "D1", "D2", "D3", "D4", "D5", "D6", "D7", "U ", "Q ",
};

QByteArray majusculesAscii(const QByteArray& s)
{
    QByteArray r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return r;
}

}  // namespace

const std::vector<TypeVolcanDef>& typesVolcans()
{
    return kTypes;
}

QString texteTypeVolcan(int code)
{
    for (const TypeVolcanDef& t : kTypes)
        if (t.code == code)
            return QString::fromUtf8(t.texte);
    return QString();
}

int classeCouleurVolcan(int code)
{
    if (code <= 5)
        return ClasseLaveFluide;
    if (code <= 9)
        return ClasseSousMarin;
    if (code <= 19)
        return ClasseLaveVisqueuse;
    if (code <= 29)
        return ClasseConeProjections;
    return ClasseAutre;
}

int codeTypeVolcanDepuisTexte(const QByteArray& texte)
{
    const QByteArray t = majusculesAscii(texte);
    int code = 0;
    for (const TypeVolcanDef& d : kTypes)
        if (t.contains(d.motCle))
            code = d.code;
    return code;
}

QString texteActivite(int code)
{
    if (code < 0 || code >= NbCodesActivite)
        code = 0;
    return QString::fromUtf8(kActivites[code]);
}

int codeActiviteDepuisTexte(const QByteArray& deuxCaracteres)
{
    const QByteArray t = majusculesAscii(deuxCaracteres);
    for (int i = 1; i < NbCodesActivite; ++i)
        if (t == kCodesActivite[i])
            return i;
    return 0;
}
