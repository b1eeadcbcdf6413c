#pragma once

#include "dialogs/DoAlertPicture.h"

#include <QRectF>
#include <QTransform>
#include <QWidget>

#include <array>

class QLabel;
class QPainter;

namespace vantel {

// From picture units to `target`, keeping the picture's proportions, centred.
QTransform DoAlertPictureTransform(const QRectF& target);
QRectF ToRect(const PictureBox& box);

// Paints a DO alert diagram into `target` as vector drawing, so it stays sharp
// at any size and pixel ratio. `slotNumbers` writes the label slot numbers
// where the dialog would write its values (for pictures without the dialog).
void PaintDoAlertPicture(QPainter& painter, const DoAlertPicture& picture, const QRectF& target,
                         bool slotNumbers = false);

// Picture static of the DO alert dialog: paints the diagram in force and
// carries the seven switching-point labels at the picture's anchors.
class DoAlertDiagramWidget : public QWidget {
    Q_OBJECT
public:
    explicit DoAlertDiagramWidget(QWidget* parent = nullptr);

    void setNumber(int number);
    int number() const { return picture_.number; }
    // Label k (1-7).
    QLabel* label(int k) const { return labels_[static_cast<std::size_t>(k - 1)]; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLabels();

    DoAlertPicture picture_;
    std::array<QLabel*, 7> labels_{};
};

} // namespace vantel
