#pragma once

#include "search/CORVEXSearch.h"
#include "search/SearchView.h"
#include "ui/ControlWindow.h"

#include <QDialog>

class QTreeWidget;

namespace vantel {

// The window of the network search; its behaviour lives in CORVEXSearch.
class SearchDialog : public QDialog, public SearchView {
    Q_OBJECT
public:
    SearchDialog(UnitList& list, AppState& app, DatagramAddress target, QWidget* parent = nullptr);
    ~SearchDialog() override;

    // Runs the dialog modally; it searches as soon as it opens.
    static void run(QWidget* parent, UnitList& list, AppState& app, DatagramAddress target);

    CORVEXSearch& logic() { return logic_; }
    QTreeWidget* foundUnits() const { return units_; }

    // SearchView
    ControlView& controls() override { return controls_; }
    void setRows(const std::vector<SearchRow>& rows) override;
    int selectionMark() const override;
    std::optional<UnitConnection> addUnit(const UnitList& list, const UnitConnection& in) override;
    void post(std::function<void()> work) override;

    // Closing (the button, Escape, the close box) waits until no worker runs.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void connectActions();

    ControlWindow controls_;
    QTreeWidget* units_ = nullptr;
    CORVEXSearch logic_;
    bool started_ = false;
};

} // namespace vantel
