#include "tables/courbes.h"

#include "data/decimal.h"
#include "data/fichiers.h"
#include "map/lecture.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <cstring>

namespace courbes {

bool dansBandeTemps(int x)
{
    return 55 < x && x < 565;
}

int bandeDe(int y)
{
    if (34 < y && y < 205)
        return Latitude;
    if (261 < y && y < 431)
        return Longitude;
    if (488 < y && y < 658)
        return Altitude;
    return 0;
}

// --- Calibration ---

bool Etalonnage::axeEtalonne(int axe) const
{
    return axe >= Latitude && axe <= Altitude && pente(axe) != 0;
}

bool Etalonnage::unAxeEtalonne() const
{
    return tempsEtalonne() || axeEtalonne(Latitude) || axeEtalonne(Longitude) || axeEtalonne(Altitude);
}

double Etalonnage::pente(int axe) const
{
    switch (axe) {
    case Temps:
        return PenteTemps;
    case Latitude:
        return PenteLat;
    case Longitude:
        return PenteLong;
    case Altitude:
        return PenteAlt;
    default:
        return 0;
    }
}

double Etalonnage::origine(int axe) const
{
    switch (axe) {
    case Temps:
        return OrigineTemps;
    case Latitude:
        return OrigineLat;
    case Longitude:
        return OrigineLong;
    case Altitude:
        return OrigineAlt;
    default:
        return 0;
    }
}

void Etalonnage::definir(int axe, double pente, double origine)
{
    switch (axe) {
    case Temps:
        PenteTemps = pente;
        OrigineTemps = origine;
        break;
    case Latitude:
        PenteLat = pente;
        OrigineLat = origine;
        break;
    case Longitude:
        PenteLong = pente;
        OrigineLong = origine;
        break;
    case Altitude:
        PenteAlt = pente;
        OrigineAlt = origine;
        break;
    default:
        break;
    }
}

bool Etalonnage::operator==(const Etalonnage& o) const
{
    return octetsEtalonnage(*this) == octetsEtalonnage(o);
}

namespace {

std::array<double*, 8> champs(Etalonnage& e)
{
    return {&e.PenteTemps, &e.OrigineTemps, &e.PenteLat, &e.OrigineLat,
            &e.PenteLong,  &e.OrigineLong,  &e.PenteAlt, &e.OrigineAlt};
}

} // namespace

QByteArray octetsEtalonnage(const Etalonnage& e)
{
    Etalonnage copie = e;
    QByteArray b(TailleEtalonnage, '\0');
    int i = 0;
    for (double* v : champs(copie))
        qToLittleEndian<double>(*v, b.data() + 8 * i++);
    return b;
}

bool decoderEtalonnage(const QByteArray& octets, Etalonnage& e)
{
    if (octets.size() != TailleEtalonnage)
        return false;
    Etalonnage lu;
    int i = 0;
    for (double* v : champs(lu)) {
        *v = qFromLittleEndian<double>(octets.constData() + 8 * i++);
        if (!std::isfinite(*v))
            return false;
    }
    e = lu;
    return true;
}

bool lireEtalonnage(const QString& chemin, Etalonnage& e)
{
    if (chemin.isEmpty())
        return false;
    QByteArray octets;
    // One byte more than the file may hold is enough to refuse a larger one.
    if (!lireFichierEntier(chemin, octets, nullptr, TailleEtalonnage + 1))
        return false;
    return decoderEtalonnage(octets, e);
}

bool ecrireEtalonnage(const QString& chemin, const Etalonnage& e, QString* message)
{
    auto echec = [&](const QString& texte) {
        if (message)
            *message = texte;
        return false;
    };
    if (chemin.isEmpty())
        return echec(QStringLiteral("Cette station n'a pas de fichier d'étalonnage possible."));
    const QFileInfo info(chemin);
    const QString dossier = info.absolutePath();
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(dossier).isDir())
            return echec(QStringLiteral("Impossible d'enregistrer l'étalonnage « %1 » : le dossier « %2 » "
                                        "n'existe pas.")
                             .arg(nomAffiche(chemin), nomAffiche(dossier)));
        if (!QFileInfo(dossier).isWritable())
            return echec(QStringLiteral("Impossible d'enregistrer l'étalonnage « %1 » : le dossier « %2 » "
                                        "est protégé en écriture.")
                             .arg(nomAffiche(chemin), nomAffiche(dossier)));
        return echec(QStringLiteral("Impossible d'enregistrer l'étalonnage « %1 » : %2")
                         .arg(nomAffiche(chemin), f.errorString()));
    }
    const QByteArray octets = octetsEtalonnage(e);
    if (f.write(octets) != octets.size() || !f.commit()) {
        f.cancelWriting();
        return echec(QStringLiteral("Impossible d'enregistrer l'étalonnage « %1 » (disque plein ou protégé ?) ; "
                                    "l'étalonnage précédent est conservé.")
                         .arg(nomAffiche(chemin)));
    }
    return true;
}

FichiersStation fichiersStation(const QString& dossierDepart, const QString& nom)
{
    FichiersStation f;
    if (nom.isEmpty() || nom == QLatin1String(".") || nom == QLatin1String(".."))
        return f;
    for (const QChar c : nom)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20 ||
            c.unicode() == 0x7F)
            return f;
    const QDir point(QDir(dossierDepart).filePath(QStringLiteral("point")));
    f.image = point.filePath(nom + QStringLiteral(".jpg"));
    f.etalonnage = point.filePath(nom + QStringLiteral(".etl"));
    f.positions = point.filePath(nom + QStringLiteral(".txt"));
    return f;
}

// --- Daily positions ---

const std::vector<double>& PositionsJournalieres::composante(int axe) const
{
    switch (axe) {
    case Longitude:
        return est;
    case Altitude:
        return haut;
    default:
        return nord;
    }
}

QByteArray textePositions(const QString& code, const PositionsJournalieres& p)
{
    QByteArray t;
    t.reserve(static_cast<int>(p.taille()) * 40 + 200);
    t += "# " + code.toUtf8() + " : positions journalières de la station, en mm\n";
    t += "# année décimale\tnord (mm)\test (mm)\thaut (mm)\n";
    for (std::size_t i = 0; i < p.taille(); ++i) {
        t += QByteArray::number(p.t[i], 'f', 5);
        t += '\t';
        t += QByteArray::number(p.nord[i], 'f', 2);
        t += '\t';
        t += QByteArray::number(p.est[i], 'f', 2);
        t += '\t';
        t += QByteArray::number(p.haut[i], 'f', 2);
        t += '\n';
    }
    return t;
}

namespace {

bool estBlanc(char c)
{
    return c == ' ' || c == '\t' || c == ';' || c == '\r';
}

} // namespace

bool analyserPositions(const QByteArray& texte, PositionsJournalieres& p)
{
    PositionsJournalieres lu;
    const char* c = texte.constData();
    const char* const fin = c + texte.size();
    std::array<double, 4> v{};
    char champ[64];
    while (c < fin) {
        const char* finLigne = static_cast<const char*>(std::memchr(c, '\n', static_cast<std::size_t>(fin - c)));
        if (!finLigne)
            finLigne = fin;
        const char* q = c;
        while (q < finLigne && estBlanc(*q))
            ++q;
        int n = 0;
        bool ok = q < finLigne && *q != '#';
        while (ok && q < finLigne) {
            const char* debut = q;
            while (q < finLigne && !estBlanc(*q))
                ++q;
            if (n == 4 || q - debut >= static_cast<std::ptrdiff_t>(sizeof champ)) {
                ok = n == 4; // more fields than four: only the first four count
                break;
            }
            // Either decimal mark.
            std::size_t l = 0;
            for (const char* r = debut; r < q; ++r)
                champ[l++] = *r == ',' ? '.' : *r;
            ok = convertirReel(champ, champ + l, '.', v[static_cast<std::size_t>(n)]);
            ++n;
            while (q < finLigne && estBlanc(*q))
                ++q;
        }
        // A date or a position no series can hold (a corrupt line) is skipped.
        ok = ok && n == 4 && v[0] >= 1800 && v[0] <= 2300 && std::fabs(v[1]) <= PositionMaxMm &&
             std::fabs(v[2]) <= PositionMaxMm && std::fabs(v[3]) <= PositionMaxMm;
        if (ok) {
            lu.t.push_back(v[0]);
            lu.nord.push_back(v[1]);
            lu.est.push_back(v[2]);
            lu.haut.push_back(v[3]);
        }
        c = finLigne + 1;
    }
    if (lu.taille() < 2)
        return false;
    if (!std::is_sorted(lu.t.begin(), lu.t.end())) {
        std::vector<std::size_t> ordre(lu.taille());
        std::iota(ordre.begin(), ordre.end(), 0);
        std::stable_sort(ordre.begin(), ordre.end(), [&](std::size_t a, std::size_t b) { return lu.t[a] < lu.t[b]; });
        PositionsJournalieres trie;
        for (std::size_t i : ordre) {
            trie.t.push_back(lu.t[i]);
            trie.nord.push_back(lu.nord[i]);
            trie.est.push_back(lu.est[i]);
            trie.haut.push_back(lu.haut[i]);
        }
        lu = std::move(trie);
    }
    p = std::move(lu);
    return true;
}

bool lirePositions(const QString& chemin, PositionsJournalieres& p)
{
    if (chemin.isEmpty() || !QFileInfo(chemin).isFile())
        return false;
    QByteArray texte;
    // Fifty years of days take about 1 MB; a file far larger is not a series.
    if (!lireFichierEntier(chemin, texte, nullptr, 64 << 20))
        return false;
    return analyserPositions(texte, p);
}

std::optional<Ajustement> ajusterDroite(const PositionsJournalieres& p, int axe, double tmin, double tmax)
{
    if (!(tmin <= tmax) || p.taille() < 2)
        return std::nullopt;
    const std::vector<double>& y = p.composante(axe);
    const auto debut = std::lower_bound(p.t.begin(), p.t.end(), tmin);
    const auto fin = std::upper_bound(debut, p.t.end(), tmax);
    const std::size_t i0 = static_cast<std::size_t>(debut - p.t.begin());
    const std::size_t i1 = static_cast<std::size_t>(fin - p.t.begin());
    const std::size_t n = i1 - i0;
    if (n < 2)
        return std::nullopt;
    // Sums about the first day keep the precision of years near 2000.
    const double t0 = p.t[i0], y0 = y[i0];
    double st = 0, sy = 0;
    for (std::size_t i = i0; i < i1; ++i) {
        st += p.t[i] - t0;
        sy += y[i] - y0;
    }
    const double tm = st / n, ym = sy / n;
    double stt = 0, sty = 0;
    for (std::size_t i = i0; i < i1; ++i) {
        const double dt = p.t[i] - t0 - tm;
        stt += dt * dt;
        sty += dt * (y[i] - y0 - ym);
    }
    if (!(stt > 0))
        return std::nullopt;
    return Ajustement{sty / stt, static_cast<int>(n)};
}

// --- Pictures ---

TBitmap32 imageVue(const TBitmap32& station)
{
    TBitmap32 vue(LargeurVue, HauteurVue, clWhite32);
    vue.draw(DecalageImageX, DecalageImageY, station, TBitmap32::DrawMode::Opaque);
    return vue;
}

void dessinerTraits(TBitmap32& calque, const std::vector<Trait>& traits)
{
    calque.clear();
    for (const Trait& t : traits) {
        // Two pixels wide, so that a marker shows over the dots of a curve.
        const bool horizontale = std::abs(t.b.y() - t.a.y()) < std::abs(t.b.x() - t.a.x());
        const double dx = horizontale ? 0 : 0.5, dy = horizontale ? 0.5 : 0;
        calque.lineAA(t.a.x() - dx, t.a.y() - dy, t.b.x() - dx, t.b.y() - dy, t.couleur);
        calque.lineAA(t.a.x() + dx, t.a.y() + dy, t.b.x() + dx, t.b.y() + dy, t.couleur);
    }
}

// --- Texts ---

QString texteDate(double annee)
{
    return QStringLiteral("Date : ") + carte::formatGeneral(annee, 5);
}

QString texteVariation(int axe, double mm)
{
    static const char* const debut[4] = {"", "Variation de latitude (mm): ", "Variation de longitude (mm): ",
                                         "Variation d'altitude (mm): "};
    return QString::fromUtf8(debut[std::clamp(axe, 0, 3)]) + carte::formatGeneral(mm, 4);
}

QString texteVitesse(int axe, double mmParAn)
{
    static const char* const debut[4] = {"", "Vitesse en latitude (mm/an): ", "Vitesse en longitude (mm/an): ",
                                         "Vitesse en altitude (mm/an): "};
    return QString::fromUtf8(debut[std::clamp(axe, 0, 3)]) + carte::formatGeneral(mmParAn, 4);
}

QString texteCatalogue(double mmParAn)
{
    return QStringLiteral("Vitesse du catalogue : ") + carte::formatGeneral(mmParAn, 4) + QStringLiteral(" mm/an");
}

QString texteAjustement(int jours, double mmParAn)
{
    return QStringLiteral("Droite ajustée sur %1 jours : ").arg(jours) + carte::formatGeneral(mmParAn, 4) +
           QStringLiteral(" mm/an");
}

// --- The window's calibration and measurement ---

namespace {

Trait repereTemps(int x, TColor32 c)
{
    return {QPoint(x, 50), QPoint(x, 210), c};
}

Trait repereVariation(int y, TColor32 c)
{
    return {QPoint(50, y), QPoint(570, y), c};
}

Trait repere(int axe, int position, TColor32 c)
{
    return axe == Temps ? repereTemps(position, c) : repereVariation(position, c);
}

double vitesseCatalogue(const TStationGPS& s, int axe)
{
    switch (axe) {
    case Longitude:
        return s.VitLong;
    case Altitude:
        return s.VitAlt;
    default:
        return s.VitLat;
    }
}

} // namespace

void TMesureCourbes::ouvrir(const TStationGPS& s, const std::optional<Etalonnage>& lu, PositionsJournalieres jours)
{
    station = s;
    positions = std::move(jours);
    // Another picture: another calibration, or none.
    etalonnage = lu ? *lu : Etalonnage();
    ModeMesure = lu.has_value();
    ModeCalibrage = false;
    departPose_ = false;
    affichage = Affichage();
    trace = std::vector<Trait>();
}

void TMesureCourbes::definir()
{
    ModeMesure = false;
    ModeCalibrage = true;
    departPose_ = false;
    affichage = Affichage();
}

void TMesureCourbes::choisirAxe(int a)
{
    if (a < Temps || a > Altitude)
        return;
    axe = a;
    static const int hauteurs[4] = {0, 200, 426, 653};
    trace = std::vector<Trait>{a == Temps ? repereTemps(60, Bleu) : repereVariation(hauteurs[a], Bleu)};
}

bool TMesureCourbes::valider()
{
    ModeCalibrage = false;
    const std::size_t t = Temps;
    if (repere1[t] != repere2[t] && valeur1[t] != valeur2[t]) {
        const double pente = (valeur2[t] - valeur1[t]) / (repere2[t] - repere1[t]);
        etalonnage.definir(Temps, pente, valeur1[t] - repere1[t] * pente);
    }
    for (int a = Latitude; a <= Altitude; ++a) {
        const std::size_t i = static_cast<std::size_t>(a);
        if (repere1[i] != repere2[i] && valeur1[i] != valeur2[i]) {
            const double pente = (valeur1[i] - valeur2[i]) / (repere1[i] - repere2[i]);
            etalonnage.definir(a, pente, valeur1[i] - repere1[i] * pente);
        }
    }
    ModeMesure = etalonnage.unAxeEtalonne();
    return ModeMesure;
}

void TMesureCourbes::effacer()
{
    ModeCalibrage = false;
    ModeMesure = false;
    repere1.fill(0);
    repere2.fill(0);
    departPose_ = false;
    x0_ = y0_ = 0;
    etalonnage = Etalonnage();
    affichage = Affichage();
    trace = std::vector<Trait>();
}

void TMesureCourbes::appui(int x, int y)
{
    trace.reset();
    if (ModeCalibrage) {
        const std::size_t i = static_cast<std::size_t>(axe);
        const int p = axe == Temps ? x : y;
        // A press alone places both markers at one point: that axis is then not
        // calibrated, rather than calibrated from a stale second marker.
        repere1[i] = p;
        repere2[i] = p;
        trace = std::vector<Trait>{repere(axe, p, Bleu)};
        return;
    }
    if (!ModeMesure)
        return;
    trace = std::vector<Trait>();
    affichage.vitesse.clear();
    affichage.catalogue.clear();
    affichage.ajustement.clear();
    departPose_ = false;
    x0_ = y0_ = 0;
    if (etalonnage.tempsEtalonne() && dansBandeTemps(x) && etalonnage.axeEtalonne(bandeDe(y))) {
        departPose_ = true;
        x0_ = x;
        y0_ = y;
    }
}

void TMesureCourbes::deplacement(int x, int y, bool gaucheEnfonce)
{
    trace.reset();
    if (ModeCalibrage) {
        if (!gaucheEnfonce)
            return;
        const std::size_t i = static_cast<std::size_t>(axe);
        const int p = axe == Temps ? x : y;
        repere2[i] = p;
        trace = std::vector<Trait>{repere(axe, repere1[i], Bleu), repere(axe, p, Rouge)};
        return;
    }
    if (!ModeMesure)
        return;
    if (gaucheEnfonce) {
        if (departPose_)
            trace = std::vector<Trait>{{QPoint(x0_, y0_), QPoint(x, y), Vert}};
        return;
    }
    affichage.date.clear();
    affichage.variation.clear();
    const int bande = bandeDe(y);
    if (!dansBandeTemps(x) || bande == 0)
        return;
    if (etalonnage.tempsEtalonne())
        affichage.date = texteDate(etalonnage.date(x));
    if (etalonnage.axeEtalonne(bande))
        affichage.variation = texteVariation(bande, etalonnage.variation(bande, y) * 10);
}

void TMesureCourbes::relachement(int x, int y)
{
    trace.reset();
    if (!ModeMesure || !departPose_)
        return;
    mesurer(x, y);
    departPose_ = false;
}

void TMesureCourbes::mesurer(int x, int y)
{
    // Both ends on the same plot: a line from one plot to another has no meaning.
    const int bande = bandeDe(y0_);
    if (!etalonnage.tempsEtalonne() || !dansBandeTemps(x0_) || !dansBandeTemps(x) || bandeDe(y) != bande ||
        x == x0_ || !etalonnage.axeEtalonne(bande))
        return;
    const double vitesse = (y0_ - y) * 10 * etalonnage.pente(bande) / ((x0_ - x) * etalonnage.PenteTemps);
    if (!std::isfinite(vitesse))
        return;
    affichage.vitesse = texteVitesse(bande, vitesse);
    affichage.catalogue = texteCatalogue(vitesseCatalogue(station, bande));
    const double ta = etalonnage.date(x0_), tb = etalonnage.date(x);
    if (const auto a = ajusterDroite(positions, bande, std::min(ta, tb), std::max(ta, tb)))
        affichage.ajustement = texteAjustement(a->jours, a->pente);
}

} // namespace courbes
