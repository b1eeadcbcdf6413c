#pragma once

#include "dialogs/DoAlertPicture.h"

#include <QRectF>
#include <QTransform>

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

} // namespace vantel
