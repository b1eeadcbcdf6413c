#pragma once

#include "graph/DlgGraphTab.h"
#include "graph/LECanvasWidget.h"
#include "ui/ControlWindow.h"

#include <QWidget>

namespace vantel {

// The graph page: the canvas on the left and, on its right, the period, the
// show/hide boxes, the selected series and one row per trace.
class GraphPageWidget : public QWidget {
    Q_OBJECT
public:
    GraphPageWidget(const GraphPageLayout& layout, QWidget* parent = nullptr);

    DlgGraphTab& logic() { return logic_; }
    ControlWindow& controls() { return controls_; }
    // Creates the canvas window; null canvas leaves the page without a graph.
    void setCanvas(std::shared_ptr<LECanvas> canvas);
    LECanvasWidget* canvasWidget() const { return canvasWidget_; }
    bool saveGraphPng(const QString& path);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildControls();
    void buildRow(int row);

    ControlWindow controls_;
    DlgGraphTab logic_;
    LECanvasWidget* canvasWidget_ = nullptr;
};

} // namespace vantel
