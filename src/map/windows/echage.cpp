#include "map/windows/echage.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

TEchage::TEchage(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Echage"));
    setWindowTitle(QStringLiteral("Légende"));
    legende = new QLabel(this);
    legende->setObjectName(QStringLiteral("legende"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(legende);
}

void TEchage::montrer(const TBitmap32& image)
{
    legende->setPixmap(QPixmap::fromImage(image.toImage()));
    legende->setFixedSize(image.width(), image.height());
    adjustSize();
    show();
    raise();
}
