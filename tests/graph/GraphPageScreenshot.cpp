// Renders the tab container on its graph tab, fed with moving traces by a
// small driver thread, into a PNG (docs/graph-page.png by default).
// Usage: graph_page_screenshot [output.png]
#include "StandInPanelPage.h"
#include "graph/GraphPageIds.h"
#include "panels/framework/TabParentDialog.h"
#include "support/CountingLink.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QTabBar>

#include <cmath>
#include <ctime>
#include <thread>

using namespace vantel;

namespace {

constexpr int kHistorySeconds = 170;

// What an output panel feeds: three analog outputs and three inputs drawn at
// different heights so their ON/OFF steps do not overlap.
void addInputSeries(LECanvas& canvas)
{
    const double windows[3][2] = {{-8.8, 1.2}, {-7.5, 2.5}, {-6.2, 3.8}};
    for (int row = 3; row < 6; ++row) {
        LECanvasSeries* series = canvas.AddSeries("DI" + std::to_string(row - 2), 0, 1);
        series->SetScale(windows[row - 3][0], windows[row - 3][1]);
        const Colour colour = DlgGraphTab::RowColour(row);
        series->SetColour(colour.red, colour.green, colour.blue);
    }
}

void appendSecond(LECanvas& canvas, double now, int second)
{
    for (int row = 0; row < 3; ++row)
        canvas.GetSeries(row)->AppendSample(now, 6 * std::sin(second / (14.0 + 5 * row) + row * 2.1));
    for (int row = 0; row < 3; ++row)
        canvas.GetSeries(3 + row)->AppendSample(now, ((second / (9 + 4 * row)) % 2) != 0 ? 1 : 0);
    canvas.Refresh();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/graph-page.png");

    test::TempFolder folder;
    UnitList list((folder.path() / "units.dat").string());
    list.Add(-1, UnitConnection{});
    AppState state;
    test::StandInPanelPage* panel = nullptr;
    auto* dialog =
        new TabParentDialog({ContainerKind::QZK33, "ORVEX 3AO/3DI — 実験室 1"}, std::make_unique<test::CountingLink>(),
                            [&](PanelPageContext& context) {
                                panel = new test::StandInPanelPage(context, PanelContext(list, state, list.at(0).id));
                                return panel;
                            });
    LECanvas& canvas = *panel->canvas;
    addInputSeries(canvas);
    GraphPageWidget& page = *dialog->graphPage();
    const char* names[6] = {"AO1: ヒーター", "AO2: ポンプ", "AO3: バルブ", "DI1: 扉", "DI2: 非常停止", "DI3: 警報"};
    for (int row = 0; row < 6; ++row) {
        page.controls().setText(GraphPageId::FirstLabel + row, names[row]);
        canvas.GetSeries(row)->SetName(names[row]);
        page.logic().SetRowUnit(row, 0, 1, 0, "");
    }
    for (int row = 3; row < 6; ++row)
        page.controls().setChecked(GraphPageId::CheckOfRow(row), true);
    dialog->show();
    dialog->tabBar()->setCurrentIndex(1);
    qobject_cast<QComboBox*>(page.controls().widget(GraphPageId::Period))->setCurrentIndex(1); // "2min"

    // The reply thread of a panel: one round of samples per second.
    const double start = std::floor(static_cast<double>(std::time(nullptr))) - kHistorySeconds;
    std::thread driver([&] {
        for (int second = 0; second <= kHistorySeconds; ++second) {
            appendSecond(canvas, start + second, second);
            if (second == kHistorySeconds) {
                for (int row = 0; row < 3; ++row)
                    page.logic().SetRowValue(
                        row, std::to_string(6 * std::sin(second / (14.0 + 5 * row) + row * 2.1)).substr(0, 6));
                for (int row = 3; row < 6; ++row)
                    page.logic().SetRowValue(row, ((second / (9 + 4 * (row - 3))) % 2) != 0 ? "ON" : "OFF");
            }
        }
    });
    driver.join();
    QCoreApplication::processEvents();

    // A mouse over the plot shows the cursor read-out.
    LECanvasWidget* canvasWidget = page.canvasWidget();
    QMouseEvent move(QEvent::MouseMove, QPointF(420, 150), canvasWidget->mapToGlobal(QPointF(420, 150)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvasWidget, &move);
    QCoreApplication::processEvents();

    const bool saved = dialog->grab().save(output, "PNG");
    delete dialog;
    return saved ? 0 : 1;
}
