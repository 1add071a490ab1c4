#include "section/donneescoupe.h"

#include "map/lecture.h"

#include <algorithm>

namespace coupe {

QString donneesCoupeTexte(const TBitmapSIG& s)
{
    const QChar tab(QLatin1Char('\t'));
    QString t = QStringLiteral("Distance (km)\tAltitude (m)\tDistance séisme (km)\tProfondeur (km)\tMagnitude\t"
                               "Distance volcan (km)\tAltitude volcan (m)\r\n");
    const std::size_t n = std::max({s.profil.size(), s.seismes.size(), s.volcans.size()});
    for (std::size_t i = 0; i < n; ++i) {
        if (i < s.profil.size())
            t += carte::formatDecimal(s.profil[i].distance, 2) + tab + QString::number(s.profil[i].altitude);
        else
            t += tab;
        t += tab;
        if (i < s.seismes.size()) {
            t += carte::formatDecimal(s.seismes[i].distance, 2) + tab +
                 carte::formatDecimal(s.seismes[i].valeur / 1000.0, 2) + tab;
            if (i < s.magnitudes_seismes.size())
                t += carte::formatDecimal(s.magnitudes_seismes[i], 1);
        } else {
            t += QStringLiteral("\t\t");
        }
        t += tab;
        if (i < s.volcans.size())
            t += carte::formatDecimal(s.volcans[i].distance, 2) + tab + QString::number(s.volcans[i].valeur);
        else
            t += tab;
        t += QStringLiteral("\r\n");
    }
    return t;
}

} // namespace coupe
