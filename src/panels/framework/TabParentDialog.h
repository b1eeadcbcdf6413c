#pragma once

#include "graph/GraphPageWidget.h"
#include "panels/framework/DlgTabParent.h"
#include "panels/framework/PanelPage.h"
#include "panels/framework/PanelWindow.h"

class QTabBar;

namespace vantel {

// Window of the tab container: the tab bar with the panel and the graph page,
// and the "切断" button. It is the view and the host of the panel of its
// first tab, so "切断", the close box, and Enter or Escape on the container's
// own controls run that panel's close routine (inside the pages those keys do
// nothing). Deletes itself when the panel lets it go.
class TabParentDialog : public PanelWindow, private TabParentView {
public:
    // `link` is the unit's checked connection; the page that `makePanel`
    // builds hands it to its panel.
    TabParentDialog(TabParentSetup setup, std::unique_ptr<PanelLink> link, const PanelPageFactory& makePanel,
                    QWidget* parent = nullptr);
    ~TabParentDialog() override;

    DlgTabParent& logic() { return logic_; }
    GraphPageWidget* graphPage() const { return graphPage_; }
    PanelPage* panelPage() const { return panelPage_; }
    QTabBar* tabBar() const { return tabs_; }

    // PanelHost: the graph page and the canvas go with the window.
    void closeWindow() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Graph page, canvas and panel page; returns the size of the page area.
    QSize createPages(std::unique_ptr<PanelLink> link, const PanelPageFactory& makePanel);
    void showGraphPage(bool graph) override;
    void showCaption(const std::string& utf8) override;
    void endGraphPage() override;
    void destroyWindow() override;

    DlgTabParent logic_;
    QTabBar* tabs_ = nullptr;
    GraphPageWidget* graphPage_ = nullptr;
    PanelPage* panelPage_ = nullptr;
};

} // namespace vantel
