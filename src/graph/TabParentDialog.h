#pragma once

#include "graph/DlgTabParent.h"
#include "graph/GraphPageWidget.h"
#include "graph/PanelPage.h"

#include <QDialog>

class QTabBar;

namespace vantel {

// Window of the tab container: the tab bar with the panel and the graph page,
// and the "切断" button. Deletes itself when closed.
class TabParentDialog : public QDialog, private TabParentView {
    Q_OBJECT
public:
    TabParentDialog(TabParentSetup setup, const PanelPageFactory& makePanel, QWidget* parent = nullptr);

    DlgTabParent& logic() { return logic_; }
    GraphPageWidget* graphPage() const { return graphPage_; }
    PanelPage* panelPage() const { return panelPage_; }
    QTabBar* tabBar() const { return tabs_; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Graph page, canvas and panel page; returns the size of the page area.
    QSize createPages(const PanelPageFactory& makePanel);
    void showGraphPage(bool graph) override;
    PixelRect normalWindowRect() const override;
    PixelRect desktopRect() const override;
    void moveWindow(PixelPoint topLeft) override;
    void setCaption(const std::string& utf8) override;
    void endGraphPage() override;
    void destroyWindow() override;

    DlgTabParent logic_;
    QTabBar* tabs_ = nullptr;
    GraphPageWidget* graphPage_ = nullptr;
    PanelPage* panelPage_ = nullptr;
};

} // namespace vantel
