#include "exercises/tirage.h"

#include "exercises/exemples.h"

#include <QRandomGenerator>

namespace {

bool seDeplace(const TStationGPS& s)
{
    return s.VitLat != 0 || s.VitLong != 0;
}

// j can be the fixed reference of i: another station, and a relative
// displacement of some length.
bool partenaires(const TStationGPS& i, const TStationGPS& j)
{
    return i.Nom.bytes() != j.Nom.bytes() && (i.VitLat != j.VitLat || i.VitLong != j.VitLong);
}

bool aUnPartenaire(const std::vector<TStationGPS>& ex, std::size_t i)
{
    for (std::size_t j = 0; j < ex.size(); ++j)
        if (partenaires(ex[i], ex[j]))
            return true;
    return false;
}

// The examples a question of the genre can ask about.
std::vector<int> utilisables(const std::vector<TStationGPS>& ex, GenreExercice genre)
{
    std::vector<int> r;
    for (std::size_t i = 0; i < ex.size(); ++i) {
        bool ok = true;
        if (genre == GenreExercice::Orientation)
            ok = seDeplace(ex[i]);
        else if (genre == GenreExercice::Relatif)
            ok = aUnPartenaire(ex, i);
        if (ok)
            r.push_back(static_cast<int>(i));
    }
    return r;
}

} // namespace

SourceHasard hasardSysteme()
{
    return [](int n) { return n <= 1 ? 0 : static_cast<int>(QRandomGenerator::global()->bounded(n)); };
}

bool exerciceFaisable(const std::vector<TStationGPS>& exemples, GenreExercice genre)
{
    std::set<QByteArray> noms;
    for (int i : utilisables(exemples, genre)) {
        noms.insert(exemples[static_cast<std::size_t>(i)].Nom.bytes());
        if (noms.size() >= 2)
            return true;
    }
    return false;
}

QString messageExemplesInsuffisants(GenreExercice genre, int exemplesLus)
{
    const QString lus = exemplesLus == 0   ? QStringLiteral("aucun exemple n'a été lu")
                        : exemplesLus == 1 ? QStringLiteral("un seul exemple a été lu")
                                           : QStringLiteral("%1 exemples ont été lus").arg(exemplesLus);
    QString besoin;
    switch (genre) {
    case GenreExercice::Orientation:
        besoin = QStringLiteral("deux stations qui se déplacent");
        break;
    case GenreExercice::Relatif:
        besoin = QStringLiteral("deux stations de noms différents dont les déplacements diffèrent");
        break;
    case GenreExercice::Position:
        besoin = QStringLiteral("deux stations");
        break;
    }
    return QStringLiteral("L'exercice ne peut pas commencer : il faut au moins %1 dans le fichier « %2 » (%3).")
        .arg(besoin, QString::fromLatin1(NomFichierExemples), lus);
}

void deplacementQuestion(const std::vector<TStationGPS>& exemples, const Question& q, GenreExercice genre,
                         double& nord, double& est)
{
    nord = est = 0;
    if (q.exemple < 0 || static_cast<std::size_t>(q.exemple) >= exemples.size())
        return;
    const TStationGPS& s = exemples[static_cast<std::size_t>(q.exemple)];
    nord = s.VitLat;
    est = s.VitLong;
    if (genre == GenreExercice::Relatif && q.reference >= 0
        && static_cast<std::size_t>(q.reference) < exemples.size()) {
        const TStationGPS& r = exemples[static_cast<std::size_t>(q.reference)];
        nord -= r.VitLat;
        est -= r.VitLong;
    }
}

int TTirage::tirerParmi(const std::vector<int>& candidats)
{
    const int n = static_cast<int>(candidats.size());
    int k = hasard_ ? hasard_(n) : 0;
    if (k < 0 || k >= n)
        k = 0; // a source out of its range must not reach outside the list
    return candidats[static_cast<std::size_t>(k)];
}

Question TTirage::tirer(const std::vector<TStationGPS>& exemples)
{
    Question q;
    const std::vector<int> tous = utilisables(exemples, genre_);
    if (tous.empty())
        return q;
    std::vector<int> nouveaux;
    for (int i : tous)
        if (!demandees_.count(exemples[static_cast<std::size_t>(i)].Nom.bytes()))
            nouveaux.push_back(i);
    q.exemple = tirerParmi(nouveaux.empty() ? tous : nouveaux);
    const TStationGPS& s = exemples[static_cast<std::size_t>(q.exemple)];
    demandees_.insert(s.Nom.bytes());
    if (genre_ == GenreExercice::Relatif) {
        std::vector<int> refs;
        for (std::size_t j = 0; j < exemples.size(); ++j)
            if (partenaires(s, exemples[j]))
                refs.push_back(static_cast<int>(j));
        q.reference = tirerParmi(refs); // not empty: the example was usable
    }
    return q;
}
