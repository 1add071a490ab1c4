#include "map/windows/menuscarte.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* item(QMenu* menu, const QString& nom, const QString& texte, bool actif = true)
{
    QAction* a = menu->addAction(texte);
    a->setObjectName(nom);
    a->setEnabled(actif);
    return a;
}

QAction* itemCoche(QMenu* menu, const QString& nom, const QString& texte, bool actif = true)
{
    QAction* a = item(menu, nom, texte, actif);
    a->setCheckable(true);
    return a;
}

QMenu* sousMenu(QMenu* parent, const QString& nom, const QString& texte)
{
    QMenu* m = parent->addMenu(texte);
    m->setObjectName(nom);
    m->menuAction()->setObjectName(nom + QStringLiteral("Item"));
    return m;
}

} // namespace

TMenusCarte creerMenusCarte(QMainWindow* fenetre)
{
    TMenusCarte m;
    QMenuBar* mb = fenetre->menuBar();
    m.Fichier1 = mb->addMenu(QStringLiteral("&Fichier"));
    m.Fichier1->setObjectName(QStringLiteral("Fichier1"));
    // Items of the features (printing and export, the data lists, the landmarks,
    // the windows of the views) are wired by them; those still to come are disabled.
    m.Imprimer1 = sousMenu(m.Fichier1, QStringLiteral("Imprimer1"), QStringLiteral("&Imprimer"));
    item(m.Imprimer1, QStringLiteral("avecfonddecarteenNB1"),
                                QStringLiteral("avec fond de carte en N/B"), false);
    item(m.Imprimer1, QStringLiteral("toutencouleurs1"), QStringLiteral("tout en couleurs"), false);
    item(m.Imprimer1, QStringLiteral("laselectionfondenNB1"),
                                QStringLiteral("la sélection (fond en N/B)"), false);
    item(m.Imprimer1, QStringLiteral("laselectionencouleurs1"),
                                  QStringLiteral("la sélection en couleurs"), false);
    m.Imprimer1->menuAction()->setEnabled(false);
    m.Quitter1 = item(m.Fichier1, QStringLiteral("Quitter1"), QStringLiteral("&Quitter"));
    item(m.Fichier1, QStringLiteral("Chargerunfichierdeconfiguration1"),
                                            QStringLiteral("Charger un fichier de configuration"), false);
    m.OuvrirunfichierGPS1 = item(m.Fichier1, QStringLiteral("OuvrirunfichierGPS1"), QStringLiteral("Charger un fichier GPS"));
    m.OuvrirunfichierSeismes1 = item(m.Fichier1, QStringLiteral("OuvrirunfichierSeismes1"),
                                   QStringLiteral("Charger un fichier Séismes"));
    m.Chargerunfichierdevolcans1 = item(m.Fichier1, QStringLiteral("Chargerunfichierdevolcans1"),
                                      QStringLiteral("Charger un fichier de volcans"));
    m.Chargerunfichierdevolcans1->setVisible(false);
    m.Chargerunfonddecarte1 = item(m.Fichier1, QStringLiteral("Chargerunfonddecarte1"),
                                 QStringLiteral("Charger un fond de carte"));
    m.Enregistrerlefichierdeseismes1 = item(m.Fichier1, QStringLiteral("Enregistrerlefichierdeseismes1"),
                                          QStringLiteral("Enregistrer le fichier de séismes"));
    m.Enregistrerlefichierdevolcans1 = item(m.Fichier1, QStringLiteral("Enregistrerlefichierdevolcans1"),
                                          QStringLiteral("Enregistrer le fichier de volcans"));
    m.Enregistrerlefichierdevolcans1->setVisible(false);
    m.EnregistrerlesvecteursaffichescommedonneesGPS1 =
        item(m.Fichier1, QStringLiteral("EnregistrerlesvecteursaffichescommedonneesGPS1"),
             QStringLiteral("Enregistrer les vecteurs affichés comme données GPS"));
    item(m.Fichier1, QStringLiteral("Enregistrerlimagesous1"),
                                  QStringLiteral("Enregistrer l'image sous..."), false);
    item(m.Fichier1, QStringLiteral("CalculetableSurfVol1"), QStringLiteral("CalculetableSurfVol"), false)
        ->setVisible(false);
    item(m.Fichier1, QStringLiteral("Chargerdesdonneesdansuntableur1"),
         QStringLiteral("Charger des données dans un tableur"))
        ->setVisible(false);
    item(m.Fichier1, QStringLiteral("Chargerdesreperes1"), QStringLiteral("Charger des reperes"));

    m.Edition1 = mb->addMenu(QStringLiteral("Edition"));
    m.Edition1->setObjectName(QStringLiteral("Edition1"));
    m.Copier1 = sousMenu(m.Edition1, QStringLiteral("Copier1"), QStringLiteral("&Copier"));
    item(m.Copier1, QStringLiteral("Verslepressepapier1"), QStringLiteral("&Vers le presse-papier"),
                               false);
    item(m.Copier1, QStringLiteral("Copierverslafeuillededessin1"),
                                        QStringLiteral("Copier vers la feuille de dessin"), false);
    item(m.Copier1, QStringLiteral("Copierlapartiedelimiteeverslepressepapier1"),
             QStringLiteral("Copier la partie délimitée vers le presse-papier"), false);
    item(m.Copier1, QStringLiteral("Copierlapartiedelimiteeverslafeuillededessin1"),
             QStringLiteral("Copier la partie délimitée vers la feuille de dessin"), false);
    m.Copier1->menuAction()->setEnabled(false);
    auto* copie = new QActionGroup(fenetre);
    m.CopieavecfondNB1 = itemCoche(m.Edition1, QStringLiteral("CopieavecfondNB1"), QStringLiteral("Copie avec fond N/B"),
                                 false);
    m.Copieavecfondcouleur1 = itemCoche(m.Edition1, QStringLiteral("Copieavecfondcouleur1"),
                                      QStringLiteral("Copie avec fond couleur"), false);
    copie->addAction(m.CopieavecfondNB1);
    copie->addAction(m.Copieavecfondcouleur1);
    m.CopieavecfondNB1->setChecked(true);
    m.Effacerlestraces1 = item(m.Edition1, QStringLiteral("Effacerlestraces1"), QStringLiteral("Effacer les tracés"));
    m.Effacerledernier1 = sousMenu(m.Edition1, QStringLiteral("Effacerledernier1"), QStringLiteral("Effacer le dernier tracé"));
    m.Grandcercle1 = item(m.Effacerledernier1, QStringLiteral("Grandcercle1"), QStringLiteral("Grand cercle"));
    m.Coupe1 = item(m.Effacerledernier1, QStringLiteral("Coupe1"), QStringLiteral("Coupe"), false);
    item(m.Edition1, QStringLiteral("Rechercherunvolcan"), QStringLiteral("Rechercher un volcan"),
                              false);

    m.Affichage1 = mb->addMenu(QStringLiteral("&Affichage"));
    m.Affichage1->setObjectName(QStringLiteral("Affichage1"));
    m.PointsGPS1 = itemCoche(m.Affichage1, QStringLiteral("PointsGPS1"), QStringLiteral("Points &GPS"));
    m.Seismes1 = itemCoche(m.Affichage1, QStringLiteral("Seismes1"), QStringLiteral("&Seismes"));
    m.Volcans1 = itemCoche(m.Affichage1, QStringLiteral("Volcans1"), QStringLiteral("&Volcans"));
    m.agedesfondsoceaniques1 = itemCoche(m.Affichage1, QStringLiteral("agedesfondsoceaniques1"),
                                       QStringLiteral("age des fonds océaniques"), false);
    m.Niveaumarinsi1 = itemCoche(m.Affichage1, QStringLiteral("Niveaumarinsi1"), QStringLiteral("Niveau marin si..."), false);
    m.Population1 = itemCoche(m.Affichage1, QStringLiteral("Population1"), QStringLiteral("Population"), false);
    itemCoche(m.Affichage1, QStringLiteral("Limitesdeplaques1"), QStringLiteral("Limites de plaques"), false);
    m.Affichage1->addSeparator();
    item(m.Affichage1, QStringLiteral("FenetreCoupes1"), QStringLiteral("Fenêtre Coupes"), false);
    item(m.Affichage1, QStringLiteral("FenetreTableauGPS1"), QStringLiteral("Fenêtre &Tableau GPS"),
                              false);
    item(m.Affichage1, QStringLiteral("FenetredeDessin1"), QStringLiteral("Fenêtre  de Dessin"), false);
    item(m.Affichage1, QStringLiteral("Vuepolaire1"), QStringLiteral("Vue polaire"), false);
    item(m.Affichage1, QStringLiteral("FenetreReperes1"), QStringLiteral("Fenêtre Repères"));
    m.Affichage1->addSeparator();
    item(m.Affichage1, QStringLiteral("Choix1"), QStringLiteral("&Choix..."));
    m.Pointsepais = itemCoche(m.Affichage1, QStringLiteral("Pointsepais"), QStringLiteral("Points épais"));
    m.Pointsepais->setChecked(true);
    m.Pointsepais->setVisible(false);

    m.Mode1 = mb->addMenu(QStringLiteral("&Mode"));
    m.Mode1->setObjectName(QStringLiteral("Mode1"));
    auto* modes = new QActionGroup(fenetre);
    m.Consultation = itemCoche(m.Mode1, QStringLiteral("Consultation"), QStringLiteral("&Consultation"));
    m.Delimitezone = itemCoche(m.Mode1, QStringLiteral("Delimitezone"), QStringLiteral("&Délimitation d'une zone"));
    // The section line comes with the section window.
    m.Tracecoupe = itemCoche(m.Mode1, QStringLiteral("Tracecoupe"), QStringLiteral("&Tracé d'une coupe"), false);
    m.Tracdarcdegrandcercle = itemCoche(m.Mode1, QStringLiteral("Tracdarcdegrandcercle"),
                                      QStringLiteral("Tracé d'arc de grand cercle"));
    m.Suivreuntrajet = itemCoche(m.Mode1, QStringLiteral("Suivreuntrajet"), QStringLiteral("Suivre un trajet"));
    m.MZoom = itemCoche(m.Mode1, QStringLiteral("MZoom"), QStringLiteral("Zoom"), false);
    m.MZoom->setVisible(false);
    m.Consultation->setProperty("tag", 2);
    m.Delimitezone->setProperty("tag", 0);
    m.Tracecoupe->setProperty("tag", 1);
    m.Tracdarcdegrandcercle->setProperty("tag", 3);
    m.Suivreuntrajet->setProperty("tag", 4);
    m.MZoom->setProperty("tag", 5);
    for (QAction* a : {m.Consultation, m.Delimitezone, m.Tracecoupe, m.Tracdarcdegrandcercle, m.Suivreuntrajet, m.MZoom})
        modes->addAction(a);
    m.Consultation->setChecked(true);
    m.Mode1->addSeparator();
    m.conserverlestraces = itemCoche(m.Mode1, QStringLiteral("conserverlestraces"), QStringLiteral("conserver les tracés"));

    m.Vecteurs1 = mb->addMenu(QStringLiteral("&Vecteurs"));
    m.Vecteurs1->setObjectName(QStringLiteral("Vecteurs1"));
    item(m.Vecteurs1, QStringLiteral("Choisirlesvecteursaafficher1"),
                                        QStringLiteral("&Choisir les vecteurs à afficher"), false);
    item(m.Vecteurs1, QStringLiteral("Affichertouslesvecteurs1"),
                                    QStringLiteral("Afficher &tous les vecteurs"));
    item(m.Vecteurs1, QStringLiteral("Nafficheraucunvecteur1"),
                                  QStringLiteral("N'afficher aucun vecteur"));
    m.Vecteurs1->addSeparator();
    item(m.Vecteurs1, QStringLiteral("Agrandir1"), QStringLiteral("&Agrandir"));
    item(m.Vecteurs1, QStringLiteral("Retrecir1"), QStringLiteral("&Rétrécir"));
    m.Vecteurs1->addSeparator();
    item(m.Vecteurs1, QStringLiteral("Remiseazero1"), QStringLiteral("Remise à &zéro"));
    itemCoche(m.Vecteurs1, QStringLiteral("Afficherlechelle1"), QStringLiteral("Aff&icher l'échelle"));
    m.Vecteurs1->addSeparator();
    itemCoche(m.Vecteurs1, QStringLiteral("CorrectiondesVlat1"),
                                   QStringLiteral("Correction des &V. lat"));
    m.Vecteurs1->addSeparator();
    itemCoche(m.Vecteurs1, QStringLiteral("Vecteursdumodele1"), QStringLiteral("Vecteurs du modèle"), false);
    sousMenu(m.Vecteurs1, QStringLiteral("Plaquedereferencedumodele1"), QStringLiteral("Plaque de référence du modèle"))
        ->menuAction()
        ->setEnabled(false);
    item(m.Vecteurs1, QStringLiteral("Ajusterunpoleeulerien1"), QStringLiteral("Ajuster un pôle eulérien"), false);

    m.Exercices1 = mb->addMenu(QStringLiteral("&Exercices"));
    m.Exercices1->setObjectName(QStringLiteral("Exercices1"));
    item(m.Exercices1, QStringLiteral("Positionnementdesstations1"),
                                      QStringLiteral("&Positionnement des stations"), false);
    item(m.Exercices1, QStringLiteral("Orientationdesvecteurs1"),
                                   QStringLiteral("&Orientation des vecteurs"), false);
    item(m.Exercices1, QStringLiteral("Mouvementsrelatifs1"),
                               QStringLiteral("&Mouvements relatifs"), false);

    m.Aide1 = mb->addMenu(QStringLiteral("&Aide"));
    m.Aide1->setObjectName(QStringLiteral("Aide1"));
    item(m.Aide1, QStringLiteral("Fichierdaide1"), QStringLiteral("&Fichier d'aide"));
    item(m.Aide1, QStringLiteral("Apropos1"), QStringLiteral("&A propos de..."), false);
    m.Viderlamemoire1 = item(m.Aide1, QStringLiteral("Viderlamemoire1"), QStringLiteral("Vider la mémoire"));
    // The items of a data list go after this separator, shown when there are some.
    m.SeparateurListe = m.Aide1->addSeparator();
    m.SeparateurListe->setObjectName(QStringLiteral("SeparateurListe"));
    m.SeparateurListe->setVisible(false);


    return m;
}
