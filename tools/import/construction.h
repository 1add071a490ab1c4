// Building the data folder: decides which products are missing or stale (from a
// state file recording, per product, the tool version, the sources' sizes and
// dates and the products' sizes), builds those in parallel, and records them.
#pragma once

#include "import/produits.h"

#include <QString>
#include <QStringList>

#include <functional>

struct OptionsConstruction {
    bool forcer = false;  // rebuild everything
    int taches = 2;       // products built at once
};

struct BilanConstruction {
    int construits = 0, aJour = 0, echecs = 0;
    QStringList erreurs;
};

// Name of the state file kept in the data folder.
extern const char* const FichierEtat;

// Signature of a product (version, sources, outputs) as recorded in the state file.
QString signatureProduit(const Contexte& ctx, const Produit& p);

// Builds what is needed; `afficher` receives progress lines (called from one
// thread at a time).
BilanConstruction construireDossier(const Contexte& ctx, const std::vector<Produit>& produits,
                                    const OptionsConstruction& options,
                                    const std::function<void(const QString&)>& afficher);
