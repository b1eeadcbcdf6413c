#include "dialogs/SweepPictureWidget.h"

#include <QPainter>
#include <QPainterPath>

namespace vantel {

namespace {

constexpr double kWidth = 260;
constexpr double kHeight = 120;

} // namespace

SweepPictureWidget::SweepPictureWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(static_cast<int>(kWidth), static_cast<int>(kHeight));
}

void SweepPictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(width() / kWidth, height() / kHeight);
    painter.translate((width() - kWidth * scale) / 2, (height() - kHeight * scale) / 2);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);

    const double left = 40;
    const double rise = 130; // T1 twice as long as T2, like the defaults
    const double fall = 65;
    const double high = 20;
    const double low = 80;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 1, Qt::DashLine));
    painter.drawLine(QPointF(left - 6, high), QPointF(left + rise + fall + 10, high));
    painter.drawLine(QPointF(left - 6, low), QPointF(left + rise + fall + 10, low));
    painter.setPen(QColor(0x33, 0x33, 0x33));
    painter.drawText(QRectF(0, high - 8, left - 8, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("V2"));
    painter.drawText(QRectF(0, low - 8, left - 8, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("V1"));

    QPainterPath wave;
    wave.moveTo(left, low);
    wave.lineTo(left + rise, high);
    wave.lineTo(left + rise + fall, low);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x9a), 2));
    painter.drawPath(wave);

    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    const double y = low + 18;
    for (const auto& [from, to, name] :
         {std::tuple{left, left + rise, "T1"}, {left + rise, left + rise + fall, "T2"}}) {
        painter.drawLine(QPointF(from, y - 4), QPointF(from, y + 4));
        painter.drawLine(QPointF(to, y - 4), QPointF(to, y + 4));
        painter.drawLine(QPointF(from, y), QPointF(to, y));
        painter.drawText(QRectF(from, y + 2, to - from, 16), Qt::AlignCenter, QString::fromLatin1(name));
    }
}

} // namespace vantel
