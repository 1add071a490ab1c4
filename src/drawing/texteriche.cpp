#include "drawing/texteriche.h"

#include "ui/arrondi.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

enum class Balise { Gras, FinGras, Italique, FinItalique, Souligne, FinSouligne, Exposant, FinExposant, Indice,
                    FinIndice };

struct DefBalise {
    const char* texte;
    Balise balise;
};

const DefBalise kBalises[] = {
    {"<b>", Balise::Gras},         {"</b>", Balise::FinGras},         {"<i>", Balise::Italique},
    {"</i>", Balise::FinItalique}, {"<u>", Balise::Souligne},         {"</u>", Balise::FinSouligne},
    {"<sup>", Balise::Exposant},   {"</sup>", Balise::FinExposant},   {"<sub>", Balise::Indice},
    {"</sub>", Balise::FinIndice},
};

// The markup state while a line is scanned.
struct Etat {
    bool gras = false;
    bool italique = false;
    bool souligne = false;
    double taille = 0;  // points
    int decalage = 0;   // vertical offset in pixels (negative: raised)
};

// Size and offsets derived from the base font.
struct Base {
    QFont police;
    double taille = 0;   // |size| in points
    int q = 0;           // size step of superscripts and subscripts, points
    int montee = 0;      // superscript raise, pixels
    int descente = 0;    // subscript drop, pixels
};

Base PreparerBase(const QFont& police)
{
    Base b;
    b.police = police;
    const int ppi = PixelsParPouce();
    if (police.pointSizeF() > 0)
        b.taille = std::fabs(police.pointSizeF());
    else
        b.taille = std::fabs(police.pixelSize()) * 72.0 / ppi;
    b.q = arrondi(b.taille / 6.0);
    b.montee = -arrondi(b.q * ppi / 72.0);
    b.descente = arrondi(b.q * ppi / 72.0 * 2);
    return b;
}

Etat EtatInitial(const Base& b)
{
    Etat e;
    e.gras = b.police.bold();
    e.italique = b.police.italic();
    e.souligne = b.police.underline();
    e.taille = b.taille;
    return e;
}

QFont PoliceCourante(const Base& b, const Etat& e)
{
    QFont f = b.police;
    f.setBold(e.gras);
    f.setItalic(e.italique);
    f.setUnderline(e.souligne);
    f.setPointSizeF(std::max(1.0, e.taille));
    return f;
}

void Appliquer(Balise balise, const Base& b, Etat& e)
{
    switch (balise) {
    case Balise::Gras:
        e.gras = true;
        break;
    case Balise::FinGras:
        e.gras = false;
        break;
    case Balise::Italique:
        e.italique = true;
        break;
    case Balise::FinItalique:
        e.italique = false;
        break;
    case Balise::Souligne:
        e.souligne = true;
        break;
    case Balise::FinSouligne:
        e.souligne = false;
        break;
    case Balise::Exposant:
        e.taille = b.taille - b.q;
        e.decalage = b.montee;
        break;
    case Balise::Indice:
        e.taille = b.taille - b.q;
        e.decalage = b.descente;
        break;
    case Balise::FinExposant:
    case Balise::FinIndice:
        e.taille = b.taille;
        e.decalage = 0;
        break;
    }
}

// The tag starting at `pos` of `texte`, if any; `longueur` receives its length.
bool BaliseEn(const QString& texte, int pos, Balise& balise, int& longueur)
{
    const QStringView reste = QStringView(texte).mid(pos);
    for (const DefBalise& d : kBalises) {
        const QLatin1String t(d.texte);
        if (reste.startsWith(t, Qt::CaseSensitive)) {
            balise = d.balise;
            longueur = static_cast<int>(t.size());
            return true;
        }
    }
    return false;
}

// Splits one line into pieces, each with the state it is drawn in, applying the
// tags to `e` as they come.
template <typename Emettre>
void ParcourirLigne(const QString& ligne, const Base& b, Etat& e, Emettre emettre)
{
    QString reste = ligne;
    for (;;) {
        const int pos = static_cast<int>(reste.indexOf(QLatin1Char('<')));
        if (pos < 0)
            break;
        Balise balise;
        int longueur = 0;
        if (BaliseEn(reste, pos, balise, longueur)) {
            if (pos > 0)
                emettre(reste.left(pos), e);
            Appliquer(balise, b, e);
            reste = reste.mid(pos + longueur);
        } else {
            emettre(reste.left(pos + 1), e);
            reste = reste.mid(pos + 1);
        }
    }
    if (!reste.isEmpty())
        emettre(reste, e);
}

} // namespace

int PixelsParPouce()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const int dpi = qRound(screen->logicalDotsPerInchY());
        if (dpi > 0)
            return dpi;
    }
    return 96;
}

TMiseEnPageTexte MettreEnPageTexte(bool autoTaille, int x0, int y0, const QStringList& lignes, int alignement,
                                   const QFont& police)
{
    const Base b = PreparerBase(police);
    TMiseEnPageTexte m;
    m.hauteurLigne = TBitmap32::textHeight(QStringLiteral("EAjp"), police) + 2;
    const int n = static_cast<int>(lignes.size());
    m.largeurs.assign(static_cast<std::size_t>(n), 0);

    // Pass 0 measures the lines.
    {
        Etat e = EtatInitial(b);
        for (int i = 0; i < n; ++i)
            ParcourirLigne(lignes[i], b, e, [&](const QString& morceau, const Etat& st) {
                m.largeurs[static_cast<std::size_t>(i)] += TBitmap32::textWidth(morceau, PoliceCourante(b, st));
            });
    }

    const int plusLarge = m.largeurs.empty() ? 0 : *std::max_element(m.largeurs.begin(), m.largeurs.end());
    m.largeurBloc = autoTaille ? plusLarge + 8 : plusLarge;
    m.largeurTotale = plusLarge + 8;
    m.hauteurTotale = m.hauteurLigne * n + 4;

    // Pass 1 places the pieces. The state starts again from the base font, so a tag
    // left open at the end of the text cannot change the fonts of lines that were
    // measured without it.
    {
        Etat e = EtatInitial(b);
        for (int i = 0; i < n; ++i) {
            const int largeur = m.largeurs[static_cast<std::size_t>(i)];
            int depart = 0;
            if (alignement == 1)
                depart = (m.largeurBloc - largeur) / 2;
            else if (alignement == 2)
                depart = m.largeurBloc - largeur;
            int x = x0 + depart;
            ParcourirLigne(lignes[i], b, e, [&](const QString& morceau, const Etat& st) {
                TMorceauTexte p;
                p.ligne = i;
                p.x = x;
                p.y = y0 + i * m.hauteurLigne + st.decalage + 1;
                p.texte = morceau;
                p.police = PoliceCourante(b, st);
                x += TBitmap32::textWidth(morceau, p.police);
                m.morceaux.push_back(std::move(p));
            });
        }
    }
    return m;
}

void EcrireTexte(bool autoTaille, int x0, int y0, TBitmap32& cible, const QStringList& lignes,
                 TColor32 couleurTexte, TColor32 couleurFond, int alignement, const QFont& police)
{
    const TMiseEnPageTexte m = MettreEnPageTexte(autoTaille, x0, y0, lignes, alignement, police);
    if (autoTaille) {
        cible.setSize(m.largeurTotale, m.hauteurTotale);
        cible.clear(couleurFond);
    }
    for (const TMorceauTexte& p : m.morceaux)
        cible.drawText(p.x, p.y, p.texte, p.police, couleurTexte);
}

void EcrireTexteCanevas(const QFont& police, const QColor& couleurPolice, int alignement,
                        const QColor& couleurFond, QImage& cible, const QStringList& lignes)
{
    const TMiseEnPageTexte m = MettreEnPageTexte(true, 0, 0, lignes, alignement, police);
    const QImage::Format format = cible.isNull() ? QImage::Format_ARGB32 : cible.format();
    cible = QImage(m.largeurTotale, m.hauteurTotale, format);
    // Point sizes are converted with the same resolution as the measurements.
    const int dpm = qRound(PixelsParPouce() / 0.0254);
    cible.setDotsPerMeterX(dpm);
    cible.setDotsPerMeterY(dpm);
    cible.fill(couleurFond);
    QPainter p(&cible);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(couleurPolice);
    for (const TMorceauTexte& m0 : m.morceaux) {
        p.setFont(m0.police);
        p.drawText(QPoint(m0.x, m0.y + QFontMetrics(m0.police).ascent()), m0.texte);
    }
}
