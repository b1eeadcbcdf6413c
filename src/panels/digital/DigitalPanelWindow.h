#pragma once

#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/PanelContext.h"
#include "panels/framework/PanelWindow.h"
#include "panels/gateway/CVantelGW.h"

#include <QFrame>

#include <array>
#include <functional>

namespace vantel {

// The window of a digital unit panel, wired (CVantelDIGITAL) or behind the
// gateway (CVantelGW): a DO group with eight rows (name,
// indicator, ON/OFF, 自動, period, "x100ms"), a DI group with eight rows
// (name, indicator) and its shared "入力"/自動/period controls, the status
// line and "切断". Rows the unit does not have are hidden by the panel; the
// window closes the gaps and shrinks to what is left.
class DigitalPanelWindow : public PanelWindow {
public:
    explicit DigitalPanelWindow(QWidget* parent = nullptr);
    ~DigitalPanelWindow() override;

    // GUI thread: creates the window and its panel for `record` and runs the
    // panel's start-up. The window shows itself when the panel has started
    // and is then owned by the Qt side: it deletes itself (and the panel)
    // when the panel lets it go. nullptr when start-up failed.
    static DigitalPanelWindow* open(UnitList& list, AppState& app, const UnitRecord& record,
                                    const ConnectRequest& request);

    // The same for a unit behind the gateway, reached over `gateway`; the
    // panel's start-up reads go on after the window is shown.
    static DigitalPanelWindow* openGateway(UnitList& list, AppState& app, const UnitRecord& record,
                                           const ConnectRequest& request, CGatewayLink& gateway);

    CVantelDIGITAL* digitalPanel() const { return digital_; }
    CVantelGW* gatewayPanel() const { return gateway_; }
    void setDigitalPanel(PanelPtr<CVantelDIGITAL> panel);
    void setGatewayPanel(PanelPtr<CVantelGW> panel);

    void setVisible(int id, bool visible) override;
    using QWidget::setVisible;

private:
    void buildOutputGroup(QWidget& group);
    void buildInputGroup(QWidget& group);
    void bindButton(int id, QAbstractButton* button);
    // Shows a separator only between two rows that are both shown, and fits
    // the window to the rows left.
    void fitToRows();

    CVantelDIGITAL* digital_ = nullptr;
    CVantelGW* gateway_ = nullptr;
    // The panel's handler of button clicks by control id.
    std::function<bool(int)> clicked_;
    std::array<QFrame*, kChannelsPerSide - 1> outputSeparators_{};
    std::array<QFrame*, kChannelsPerSide - 1> inputSeparators_{};
};

} // namespace vantel
