#include "dialogs/DoAlertDiagramWidget.h"

#include "dialogs/DoAlertDiagram.h"
#include "dialogs/DoAlertPicturePainter.h"

#include <QLabel>
#include <QPainter>

namespace vantel {

DoAlertDiagramWidget::DoAlertDiagramWidget(QWidget* parent)
    : QWidget(parent), picture_(DoAlertPictureFor(kFirstDoAlertDiagram))
{
    for (int k = 1; k <= 7; ++k) {
        auto* label = new QLabel(QString::number(k), this);
        label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        labels_[static_cast<std::size_t>(k - 1)] = label;
    }
    setMinimumSize(static_cast<int>(DoAlertPicture::kWidth), static_cast<int>(DoAlertPicture::kHeight));
}

void DoAlertDiagramWidget::setNumber(int number)
{
    if (number == picture_.number)
        return;
    picture_ = DoAlertPictureFor(number);
    update();
}

QSize DoAlertDiagramWidget::sizeHint() const
{
    return {static_cast<int>(DoAlertPicture::kWidth * 1.25), static_cast<int>(DoAlertPicture::kHeight * 1.25)};
}

void DoAlertDiagramWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintDoAlertPicture(painter, picture_, rect());
}

void DoAlertDiagramWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeLabels();
}

void DoAlertDiagramWidget::placeLabels()
{
    const QTransform transform = DoAlertPictureTransform(rect());
    QFont font = this->font();
    font.setPixelSize(std::max(9, static_cast<int>(11 * transform.m11())));
    for (int k = 1; k <= 7; ++k) {
        QLabel* l = label(k);
        l->setFont(font);
        l->setGeometry(transform.mapRect(ToRect(DoAlertPicture::labelAnchor(k))).toAlignedRect());
    }
}

} // namespace vantel
