// "Nom de la coupe ?": the name and the angular width of a new section, asked
// when a section line is accepted on the map. Made for each section and released
// when it closes.
#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;
class QPushButton;

class TDemNom : public QDialog {
    Q_OBJECT
public:
    explicit TDemNom(QWidget* parent = nullptr);

    QLineEdit* Nom = nullptr;
    QSpinBox* LargAng = nullptr; // degrees, 1 … 12
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
};
