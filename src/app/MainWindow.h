#pragma once

#include "app/CVantelDlg.h"
#include "app/MainWindowView.h"
#include "platform/UdpSocket.h"
#include "search/DiscoveryDatagrams.h"
#include "ui/ControlWindow.h"

#include <QTimer>
#include <QWidget>

class QCoreApplication;
class QPushButton;
class QTranslator;
class QTreeWidget;

namespace vantel {

// The main window: the unit list, its buttons and the log settings. Its
// behaviour lives in CVantelDlg.
class MainWindow : public QWidget, public MainWindowView {
    Q_OBJECT
public:
    MainWindow(UnitList& list, AppState& state, std::string logFolder, QWidget* parent = nullptr);

    // False when the program must end (no network adapter).
    bool start(std::vector<Adapter> adapters);
    CVantelDlg& logic() { return logic_; }
    // Where the network search sends its probes (the demo points it at the simulator).
    void setSearchTarget(DatagramAddress target) { searchTarget_ = target; }
    QTreeWidget* unitListView() const { return units_; }
    QPushButton* openLogButton() const { return openLog_; }
    QPushButton* traceButton() const { return trace_; }

    // MainWindowView
    ControlView& controls() override { return controls_; }
    void setUnitRows(const std::vector<UnitListRow>& rows) override;
    int selectionMark() const override;
    void selectRow(int row) override;
    void scrollToRow(int row) override;
    std::optional<UnitConnection> editUnit(const UnitList& list, int editIndex, const UnitConnection& in) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    void closeWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildLayout();
    void connectActions();

    ControlWindow controls_;
    UnitList& list_;
    AppState& state_;
    DatagramAddress searchTarget_{kLimitedBroadcast, kDiscoveryPort};
    CVantelDlg logic_;
    QTreeWidget* units_ = nullptr;
    QPushButton* openLog_ = nullptr;
    QPushButton* trace_ = nullptr;
    QTimer timer_;
    bool closeAllowed_ = false;
};

// Qt's own texts (the buttons of question boxes, the folder dialog) in the
// program's language, Japanese, from the translations installed with Qt
// (Debian: qt6-translations-l10n). Returns the installed translator, owned
// by `app`, or nullptr when none is installed: those texts stay English.
QTranslator* InstallQtTranslations(QCoreApplication& app);

} // namespace vantel
