#include "dialogs/DoAlertDiagramWidget.h"

#include "dialogs/DoAlertDiagram.h"
#include "dialogs/DialogTexts.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vantel {

namespace {

const QColor kLit(0xff, 0xb3, 0x00);
const QColor kUnlit(0xd8, 0xdb, 0xe0);
const QColor kBand(0xe3, 0xee, 0xfb);
const QColor kInk(0x33, 0x33, 0x33);
const QColor kThreshold(0x1f, 0x4e, 0x9a);
const QColor kPoint(0x55, 0x55, 0x55);

constexpr double kFontSize = 11;

void SetFont(QPainter& painter, double size, bool bold = false)
{
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(size));
    font.setBold(bold);
    painter.setFont(font);
}

void Arrow(QPainter& painter, QPointF from, QPointF to, double head)
{
    painter.drawLine(from, to);
    const double direction = to.y() < from.y() ? 1 : -1; // head points up or down
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to.x() - head * 0.6, to.y() + head * direction);
    tip.lineTo(to.x() + head * 0.6, to.y() + head * direction);
    tip.closeSubpath();
    painter.fillPath(tip, painter.pen().color());
}

void PaintColumn(QPainter& painter, const PictureBox& column, const std::vector<DoAlertPicture::Span>& spans,
                 bool rising, const char* caption)
{
    for (const auto& span : spans) {
        const QRectF rect(column.x, DoAlertPicture::yOf(span.to), column.width,
                          DoAlertPicture::yOf(span.from) - DoAlertPicture::yOf(span.to));
        painter.fillRect(rect, span.lit ? kLit : kUnlit);
    }
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ToRect(column));

    // The input's direction of travel, through the column.
    const double x = column.x + column.width / 2;
    const QPointF low(x, column.bottom() - 4);
    const QPointF high(x, column.y + 4);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.6));
    Arrow(painter, rising ? low : high, rising ? high : low, 7);

    painter.setPen(kInk);
    SetFont(painter, kFontSize + 1, true);
    painter.drawText(ToRect(DoAlertPicture::captionBox(column)), Qt::AlignCenter,
                     QString::fromUtf8(caption) + (rising ? QStringLiteral(" ↑") : QStringLiteral(" ↓")));
}

void PaintLevel(QPainter& painter, const DoAlertPicture::Level& level, bool slotNumbers)
{
    const double y = DoAlertPicture::yOf(level.level);
    QPen pen(level.threshold ? kThreshold : kPoint, level.threshold ? 1.6 : 1.2);
    if (!level.threshold)
        pen.setDashPattern({4, 3});
    painter.setPen(pen);
    const double end = DoAlertPicture::lineEndX(level.labelled);
    painter.drawLine(QPointF(DoAlertPicture::axisX() - 3, y), QPointF(end, y));
    if (level.labelled) {
        painter.setBrush(pen.color());
        painter.drawEllipse(QPointF(end, y), 1.8, 1.8);
        painter.setBrush(Qt::NoBrush);
        if (slotNumbers) {
            painter.setPen(kInk);
            SetFont(painter, kFontSize);
            painter.drawText(ToRect(DoAlertPicture::labelAnchor(level.slot)).adjusted(4, 0, 0, 0),
                             Qt::AlignVCenter | Qt::AlignLeft, QString::number(level.slot));
        }
    }
    if (!level.tag.empty()) {
        painter.setPen(kThreshold);
        SetFont(painter, kFontSize, true);
        painter.drawText(ToRect(DoAlertPicture::tagBox(level.level)), Qt::AlignVCenter | Qt::AlignRight,
                         QString::fromStdString(level.tag));
    }
}

void PaintWidth(QPainter& painter, const DoAlertPicture::Width& width)
{
    const double x = DoAlertPicture::widthMarkX();
    const double top = DoAlertPicture::yOf(width.to);
    const double bottom = DoAlertPicture::yOf(width.from);
    painter.setPen(QPen(kPoint, 1));
    Arrow(painter, QPointF(x, (top + bottom) / 2), QPointF(x, top + 0.5), 4);
    Arrow(painter, QPointF(x, (top + bottom) / 2), QPointF(x, bottom - 0.5), 4);
    SetFont(painter, kFontSize - 2);
    painter.drawText(QRectF(x + 2, top, 22, bottom - top), Qt::AlignCenter, QString::fromUtf8(kWidthText));
}

void PaintAxis(QPainter& painter)
{
    const double x = DoAlertPicture::axisX();
    painter.setPen(QPen(kInk, 1.2));
    Arrow(painter, QPointF(x, DoAlertPicture::yOf(0)), QPointF(x, DoAlertPicture::yOf(DoAlertPicture::kTopLevel) - 8),
          6);
    for (const double level : {0.0, DoAlertPicture::kTopLevel})
        painter.drawLine(QPointF(x - 4, DoAlertPicture::yOf(level)), QPointF(x + 4, DoAlertPicture::yOf(level)));
}

void PaintLegend(QPainter& painter)
{
    SetFont(painter, kFontSize);
    for (const bool lit : {true, false}) {
        painter.setPen(QPen(kInk, 1));
        painter.setBrush(lit ? kLit : kUnlit);
        painter.drawRect(ToRect(DoAlertPicture::legendSwatch(lit)));
        painter.drawText(ToRect(DoAlertPicture::legendText(lit)), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromUtf8(lit ? kLitText : kUnlitText));
    }
    painter.setBrush(Qt::NoBrush);
}

void PaintConstant(QPainter& painter, const std::string& text)
{
    const PictureBox rising = DoAlertPicture::risingColumn();
    const PictureBox falling = DoAlertPicture::fallingColumn();
    const QRectF box(rising.x - 4, DoAlertPicture::yOf(4) - 13, falling.right() - rising.x + 8, 26);
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(box, 4, 4);
    painter.setBrush(Qt::NoBrush);
    SetFont(painter, kFontSize + 2, true);
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(text));
}

} // namespace

QTransform DoAlertPictureTransform(const QRectF& target)
{
    const double scale = std::min(target.width() / DoAlertPicture::kWidth, target.height() / DoAlertPicture::kHeight);
    QTransform transform;
    transform.translate(target.x() + (target.width() - DoAlertPicture::kWidth * scale) / 2,
                        target.y() + (target.height() - DoAlertPicture::kHeight * scale) / 2);
    transform.scale(scale, scale);
    return transform;
}

QRectF ToRect(const PictureBox& box)
{
    return {box.x, box.y, box.width, box.height};
}

void PaintDoAlertPicture(QPainter& painter, const DoAlertPicture& picture, const QRectF& target, bool slotNumbers)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(DoAlertPictureTransform(target), true);
    painter.fillRect(QRectF(0, 0, DoAlertPicture::kWidth, DoAlertPicture::kHeight), Qt::white);

    if (picture.band) {
        const double left = DoAlertPicture::axisX();
        const QRectF band(left, DoAlertPicture::yOf(picture.band->to), DoAlertPicture::lineEndX(false) - left,
                          DoAlertPicture::yOf(picture.band->from) - DoAlertPicture::yOf(picture.band->to));
        painter.fillRect(band, kBand);
    }
    PaintColumn(painter, DoAlertPicture::risingColumn(), picture.rising, true, kRisingCaption);
    PaintColumn(painter, DoAlertPicture::fallingColumn(), picture.falling, false, kFallingCaption);
    PaintAxis(painter);
    for (const auto& level : picture.levels)
        PaintLevel(painter, level, slotNumbers);
    for (const auto& width : picture.widths)
        PaintWidth(painter, width);
    if (!picture.constantText.empty())
        PaintConstant(painter, picture.constantText);
    PaintLegend(painter);
    painter.restore();
}

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
