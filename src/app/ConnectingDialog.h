#pragma once

#include "app/GatewayConnect.h"

#include <QDialog>

namespace vantel {

// CConnecting: "ORVEX-GW接続中 . . ." with "ｷｬﾝｾﾙ" while the main window waits
// for a gateway unit's "md" reply, modal to its owner (the main window) only.
// It closes itself when the connect says so (polled every 100 ms); ｷｬﾝｾﾙ or
// Escape end the wait. It deletes itself.
class ConnectingDialog : public QDialog {
public:
    static void open(GatewayConnect& gatewayConnect, QWidget* owner);

private:
    ConnectingDialog(GatewayConnect& gatewayConnect, QWidget* owner);
    GatewayConnect& connect_;
};

} // namespace vantel
