#include "app/windows/apropos.h"

#include "app/dossierdepart.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const Remerciements =
    "Merci aux enseignants qui ont ouvert la voie à l'usage des données GPS en classe "
    "et dont le travail a inspiré ce logiciel.";

} // namespace

TApropos::TApropos(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Apropos"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* v = new QVBoxLayout(this);
    TitreApropos = new QLabel(QStringLiteral("A propos de Orbiplate"), this);
    QFont f = TitreApropos->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    TitreApropos->setFont(f);
    TitreApropos->setAlignment(Qt::AlignCenter);
    v->addWidget(TitreApropos);
    Credits = new QPlainTextEdit(this);
    Credits->setReadOnly(true);
    Credits->setMinimumSize(620, 360);
    v->addWidget(Credits, 1);
    DossierDepart = new QLabel(this);
    DossierDepart->setObjectName(QStringLiteral("DossierDepart"));
    DossierDepart->setWordWrap(true);
    DossierDepart->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(DossierDepart);
    auto* merci = new QLabel(QString::fromUtf8(Remerciements), this);
    merci->setWordWrap(true);
    v->addWidget(merci);
    auto* bas = new QHBoxLayout;
    bas->addStretch(1);
    OK = new QPushButton(QStringLiteral("OK"), this);
    bas->addWidget(OK);
    bas->addStretch(1);
    v->addLayout(bas);
    connect(OK, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

void TApropos::actualiser()
{
    const ChoixDossierDepart choix = choixDossierDepartRetenu();
    Credits->setPlainText(texteCredits(choix.dossier));
    DossierDepart->setText(choix.description());
}

QString TApropos::texteCredits(const QString& dossier)
{
    QFile f(QDir(dossier).filePath(QStringLiteral("credits.txt")));
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray b = f.read(1024 * 1024);
        if (!b.trimmed().isEmpty())
            return QString::fromUtf8(b);
    }
    return creditsParDefaut();
}

QString TApropos::creditsParDefaut()
{
    return QString::fromUtf8(
        "Origine des données (le fichier credits.txt du dossier de données en donne le détail) :\n"
        "\n"
        "- Relief : SRTM15+ V2 (Scripps Institution of Oceanography, Tozer et al. 2019), grille "
        "de 10' de GMT ; ETOPO5 (NOAA NGDC, domaine public). Les planisphères sont calculés "
        "à partir de ce relief.\n"
        "- Séismes : catalogue ANSS ComCat et séismes significatifs de l'USGS/NEIC (domaine "
        "public) ; catalogue ISC-GEM v7.0 (International Seismological Centre et GEM, licence "
        "CC BY-SA 3.0).\n"
        "- Volcans : Smithsonian Institution, Global Volcanism Program, « Volcanoes of the "
        "World » v. 5.0.0 (2022), usage libre avec citation.\n"
        "- GPS : vitesses MIDAS du Nevada Geodetic Laboratory (University of Nevada, Reno ; "
        "Blewitt et al.) et ITRF2014 (IGN, Altamimi et al. 2016), diffusion libre avec "
        "citation ; séries temporelles NGL et UNAVCO / EarthScope PBO.\n"
        "- Population : Gridded Population of the World v4.11 (CIESIN, Columbia University ; "
        "NASA SEDAC), licence CC BY 4.0.\n"
        "- Âge des fonds océaniques : Müller et al. 2008 (EarthByte, diffusion NOAA NCEI), "
        "libre pour la recherche et l'enseignement, citation demandée.\n");
}
