#include "app/ConnectingDialog.h"

#include "app/AppTexts.h"
#include "ui/UiTexts.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vantel {

namespace {
constexpr int kPollMs = 100;
}

ConnectingDialog::ConnectingDialog(GatewayConnect& gatewayConnect, QWidget* owner)
    : QDialog(owner), connect_(gatewayConnect)
{
    setWindowTitle(QStringLiteral("Vantel"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kGatewayConnecting), this));
    auto* cancel = new QPushButton(QString::fromUtf8(kCancelCaption), this);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { connect_.onDialogCancelled(); });
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (connect_.dialogShouldClose())
            done(QDialog::Accepted);
    });
    timer->start(kPollMs);
}

void ConnectingDialog::open(GatewayConnect& gatewayConnect, QWidget* owner)
{
    auto* dialog = new ConnectingDialog(gatewayConnect, owner);
    // Only the main window waits: open panels keep taking clicks meanwhile.
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    gatewayConnect.onDialogShown();
}

} // namespace vantel
