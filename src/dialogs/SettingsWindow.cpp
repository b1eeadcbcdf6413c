#include "dialogs/SettingsWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantel {

SettingsWindow::SettingsWindow(QWidget* parent) : QDialog(parent), controls_(*this) {}

void SettingsWindow::showEvent(QShowEvent* event)
{
    if (!initialised_) {
        initialised_ = true;
        initialise();
    }
    QDialog::showEvent(event);
}

void SettingsWindow::accept()
{
    if (confirm())
        QDialog::accept();
}

void SettingsWindow::addLabel(QGridLayout& grid, int controlId, const char* text, int row, int column)
{
    auto* label = new QLabel(QString::fromUtf8(text), this);
    grid.addWidget(label, row, column);
    if (controlId != 0)
        controls_.bind(controlId, label);
}

QLineEdit* SettingsWindow::addBox(QGridLayout& grid, int controlId, int row, int column, std::function<void()> changed)
{
    auto* box = new QLineEdit(this);
    box->setMinimumWidth(110);
    grid.addWidget(box, row, column);
    controls_.bind(controlId, box);
    connect(box, &QLineEdit::textChanged, this, [changed = std::move(changed)] { changed(); });
    return box;
}

void SettingsWindow::addOkButton(QGridLayout& grid, int row, int column)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    grid.addWidget(ok, row, column);
    connect(ok, &QPushButton::clicked, this, &SettingsWindow::accept);
}

} // namespace vantel
