// Reading back the PDF files the print tests write, with the poppler command-line
// tools (pdfinfo, pdfimages, pdftoppm): page count and size, embedded pictures,
// and the pages rendered to pictures in which the printed copies are found.
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// Output of a poppler tool; a missing tool fails the test with the package to install.
inline QString outilPdf(const QString& outil, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(outil).isEmpty()) {
        ADD_FAILURE() << outil.toStdString() << " not found: install the poppler-utils package";
        return {};
    }
    QProcess p;
    p.start(outil, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << outil.toStdString() << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A line "Champ:   valeur" of pdfinfo.
inline QString infoPdf(const QString& chemin, const QString& champ)
{
    const QString texte = outilPdf(QStringLiteral("pdfinfo"), {chemin});
    const QRegularExpression re(QStringLiteral("^%1:\\s*(.*)$").arg(QRegularExpression::escape(champ)),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(texte);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

inline int pagesPdf(const QString& chemin)
{
    return infoPdf(chemin, QStringLiteral("Pages")).toInt();
}

// One row of "pdfimages -list": page, object number, size and colour space.
struct ImagePdf {
    int page = 0;
    int largeur = 0;
    int hauteur = 0;
    QString couleur;
    int objet = 0;
};

inline std::vector<ImagePdf> imagesPdf(const QString& chemin)
{
    std::vector<ImagePdf> images;
    const QStringList lignes = outilPdf(QStringLiteral("pdfimages"), {QStringLiteral("-list"), chemin})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 2; i < lignes.size(); ++i) {
        const QStringList c = lignes[i].simplified().split(QLatin1Char(' '));
        if (c.size() < 12)
            continue;
        ImagePdf im;
        im.page = c[0].toInt();
        im.largeur = c[3].toInt();
        im.hauteur = c[4].toInt();
        im.couleur = c[5];
        im.objet = c[10].toInt();
        images.push_back(im);
    }
    return images;
}

// One page rendered at `ppp` pixels per inch, in colour.
inline QImage pagePdf(const QString& chemin, int page, int ppp)
{
    QTemporaryDir dir;
    const QString prefixe = dir.filePath(QStringLiteral("page"));
    outilPdf(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(ppp), QStringLiteral("-f"),
                                          QString::number(page), QStringLiteral("-l"), QString::number(page),
                                          QStringLiteral("-singlefile"), QStringLiteral("-png"), chemin, prefixe});
    return QImage(prefixe + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Intervals [debut, fin) of the runs of dark pixels along one axis, in millimetres:
// a column (row) counts as dark when any of its pixels is darker than mid-grey.
struct Intervalle {
    double debut;
    double fin;
};

inline std::vector<Intervalle> bandesSombres(const QImage& page, int ppp, bool colonnes)
{
    std::vector<Intervalle> bandes;
    const int n = colonnes ? page.width() : page.height();
    const int m = colonnes ? page.height() : page.width();
    const double mm = 25.4 / ppp;
    int debut = -1;
    for (int i = 0; i <= n; ++i) {
        bool sombre = false;
        for (int j = 0; i < n && j < m && !sombre; ++j)
            sombre = qGray(colonnes ? page.pixel(i, j) : page.pixel(j, i)) < 128;
        if (sombre && debut < 0)
            debut = i;
        if (!sombre && debut >= 0) {
            bandes.push_back({debut * mm, i * mm});
            debut = -1;
        }
    }
    return bandes;
}
