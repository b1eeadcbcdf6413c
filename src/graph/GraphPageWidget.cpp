#include "graph/GraphPageWidget.h"

#include "graph/GraphPageIds.h"
#include "graph/GraphTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace vantel {
namespace {

using namespace GraphPageId;

// Pixel layout of the controls right of a 700 x 400 canvas.
constexpr int kControlsLeft = 725;
constexpr int kPageWidth = 940;
constexpr int kPageHeight = 432;
constexpr int kCheckWidth = 68;
constexpr int kRowTop = 150;
constexpr int kRowPitch = 46;

QLabel* label(QWidget* parent, const char* text, QRect where)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(where);
    return l;
}

} // namespace

GraphPageWidget::GraphPageWidget(const GraphPageLayout& layout, QWidget* parent)
    : QWidget(parent), controls_(*this), logic_(controls_, layout)
{
    setFixedSize(kPageWidth, kPageHeight);
    setAutoFillBackground(true);
    buildControls();
    logic_.onInitDialog();
}

void GraphPageWidget::buildControls()
{
    label(this, kPeriodCaption, {kControlsLeft, 10, 70, 22});
    auto* period = new QComboBox(this);
    period->setGeometry(kControlsLeft + 75, 8, 130, 24);
    for (const char* item : kPeriodItems)
        period->addItem(QString::fromUtf8(item));
    controls_.bind(Period, period);
    connect(period, &QComboBox::currentIndexChanged, this, [this] { logic_.onPeriodSelected(); });

    label(this, kVisibleCaption, {kControlsLeft, 40, 120, 20});
    for (int row = 0; row < Rows; ++row) {
        auto* box = new QCheckBox(QString::fromUtf8(kCheckTexts[static_cast<std::size_t>(row)]), this);
        box->setGeometry(kControlsLeft + (row % 3) * kCheckWidth, 62 + (row / 3) * 24, kCheckWidth, 22);
        const int controlId = CheckOfRow(row);
        controls_.bind(controlId, box);
        connect(box, &QCheckBox::clicked, this, [this, controlId] { logic_.onCheckClicked(controlId); });
    }

    label(this, kFocusCaption, {kControlsLeft, 118, 70, 22});
    auto* series = new QComboBox(this);
    series->setGeometry(kControlsLeft + 75, 116, 130, 24);
    controls_.bind(SeriesList, series);
    connect(series, &QComboBox::currentIndexChanged, this, [this] { logic_.onSeriesSelected(); });

    for (int row = 0; row < Rows; ++row)
        buildRow(row);
}

void GraphPageWidget::buildRow(int row)
{
    const int top = kRowTop + row * kRowPitch;
    auto* swatch = new QLabel(this);
    swatch->setGeometry(kControlsLeft, top + 3, 14, 14);
    swatch->setAutoFillBackground(true);
    const Colour colour = DlgGraphTab::RowColour(row);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
    swatch->setPalette(palette);
    controls_.bind(FirstSwatch + row, swatch);

    QLabel* name = label(this, kLabelTexts[static_cast<std::size_t>(row)], {kControlsLeft + 20, top, 130, 20});
    controls_.bind(FirstLabel + row, name);

    auto* scale = new QPushButton(QStringLiteral("Scale"), this);
    scale->setGeometry(kControlsLeft + 152, top - 2, 58, 24);
    const int scaleId = FirstScale + row;
    controls_.bind(scaleId, scale);
    connect(scale, &QPushButton::clicked, this, [this, scaleId] { logic_.onScaleClicked(scaleId); });

    auto* value = new QLabel(this);
    value->setGeometry(kControlsLeft + 20, top + 20, 190, 22);
    value->setFont(QFont(QStringLiteral("Verdana"), 12));
    controls_.bind(FirstValue + row, value);
}

void GraphPageWidget::setCanvas(std::shared_ptr<LECanvas> canvas)
{
    logic_.setCanvas(canvas);
    delete canvasWidget_;
    canvasWidget_ = canvas ? new LECanvasWidget(std::move(canvas), this) : nullptr;
}

bool GraphPageWidget::saveGraphPng(const QString& path)
{
    return canvasWidget_ != nullptr && canvasWidget_->renderImage().save(path, "PNG");
}

void GraphPageWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (canvasWidget_ == nullptr)
        return;
    QMenu menu(this);
    const QAction* save = menu.addAction(QString::fromUtf8(kSavePngAction));
    if (menu.exec(event->globalPos()) != save)
        return;
    const QString path =
        QFileDialog::getSaveFileName(this, QString(), QStringLiteral("graph.png"), QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty() && !saveGraphPng(path))
        controls_.showMessage(kCannotSavePng);
}

} // namespace vantel
