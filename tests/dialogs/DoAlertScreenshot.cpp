// Writes the pictures of the DO alert dialog for the documentation: the dialog
// with its diagram and labels, and a sheet of all 34 diagrams.
// Usage: do_alert_screenshot [dialog.png] [sheet.png]
#include "dialogs/DoAlertDiagram.h"
#include "dialogs/DoAlertDiagramWidget.h"
#include "dialogs/EditDOAlertDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

using namespace vantel;

namespace {

bool SaveDialog(const QString& path)
{
    EditDOAlertDialog dialog;
    CEditDOAlert& alert = dialog.logic();
    alert.rangeCodes = {2, 6, 4};
    alert.monitoredAI = 0;
    alert.ledConditions = {0, 1, 0};
    alert.rawHigh = {19661, 1000, 16384};
    alert.rawLow = {-6554, -500, 0};
    alert.rawWidth = 3277; // 1 V on ±10 V
    alert.direction = 1;
    dialog.resize(760, 380);
    dialog.show();
    QCoreApplication::processEvents();
    return dialog.grab().save(path, "PNG");
}

bool SaveSheet(const QString& path)
{
    constexpr int columns = 6;
    constexpr double scale = 0.9;
    const double cellWidth = DoAlertPicture::kWidth * scale + 16;
    const double cellHeight = DoAlertPicture::kHeight * scale + 34;
    const int count = kLastDoAlertDiagram - kFirstDoAlertDiagram + 1;
    const int rows = (count + columns - 1) / columns;
    QImage sheet(static_cast<int>(cellWidth * columns), static_cast<int>(cellHeight * rows), QImage::Format_RGB32);
    sheet.fill(QColor(0xf2, 0xf2, 0xf2));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < count; ++i) {
        const DoAlertPicture picture = DoAlertPictureFor(kFirstDoAlertDiagram + i);
        const double x = (i % columns) * cellWidth + 8;
        const double y = (i / columns) * cellHeight + 6;
        painter.setPen(QColor(0x33, 0x33, 0x33));
        painter.drawText(
            QRectF(x, y, cellWidth - 16, 22), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1   (group %2, variant %3)").arg(picture.number).arg(picture.group).arg(picture.variant));
        const QRectF target(x, y + 24, DoAlertPicture::kWidth * scale, DoAlertPicture::kHeight * scale);
        PaintDoAlertPicture(painter, picture, target, true);
        painter.setPen(QColor(0xbb, 0xbb, 0xbb));
        painter.drawRect(target);
    }
    painter.end();
    return sheet.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dialogPath = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/do-alert.png");
    const QString sheetPath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("docs/do-alert-diagrams.png");
    return SaveDialog(dialogPath) && SaveSheet(sheetPath) ? 0 : 1;
}
