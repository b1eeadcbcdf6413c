#include "search/SearchDialog.h"

#include "registry/AddChangeDialog.h"
#include "registry/RegistryTexts.h"
#include "search/SearchTexts.h"
#include "ui/UiTexts.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantel {
namespace {

using namespace SearchControl;

const QColor kRegisteredText(64, 64, 64);

} // namespace

SearchDialog::SearchDialog(UnitList& list, AppState& app, DatagramAddress target, QWidget* parent)
    : QDialog(parent), controls_(*this), logic_(*this, list, app, target)
{
    setWindowTitle(kSearchTitle);
    buildLayout();
    connectActions();
}

SearchDialog::~SearchDialog()
{
    // Workers call back into this window: they end before any part of it goes.
    logic_.shutdown();
}

void SearchDialog::run(QWidget* parent, UnitList& list, AppState& app, DatagramAddress target)
{
    SearchDialog dialog(list, app, target, parent);
    dialog.exec();
}

void SearchDialog::buildLayout()
{
    auto* root = new QVBoxLayout(this);
    auto* caption = new QLabel(kSearchListCaption);
    units_ = new QTreeWidget;
    caption->setBuddy(units_);
    units_->setColumnCount(3);
    units_->setHeaderLabels({kMacColumnCaption, kIpColumnCaption, kModelColumnCaption});
    units_->setRootIsDecorated(false);
    units_->setSelectionMode(QAbstractItemView::SingleSelection);
    units_->setSelectionBehavior(QAbstractItemView::SelectRows);
    units_->setUniformRowHeights(true);
    const int widths[] = {140, 90, 120};
    for (int c = 0; c < 3; ++c)
        units_->setColumnWidth(c, units_->fontMetrics().averageCharWidth() * widths[c] / 6);
    auto* progress = new QLabel(kProgressPlaceholder);
    progress->setAlignment(Qt::AlignCenter);
    progress->setMinimumHeight(200);
    progress->hide();
    root->addWidget(caption);
    root->addWidget(units_, 1);
    root->addWidget(progress, 1);

    auto* portRow = new QHBoxLayout;
    auto* portLabel = new QLabel(kSearchPortCaption);
    auto* port = new QLineEdit;
    portLabel->setBuddy(port);
    portRow->addWidget(portLabel);
    portRow->addWidget(port);
    portRow->addStretch(1);
    root->addLayout(portRow);

    auto* buttons = new QHBoxLayout;
    auto* research = new QPushButton(kSearchAgainCaption);
    auto* add = new QPushButton(kAddCaption);
    auto* close = new QPushButton(kCloseCaption);
    for (QPushButton* button : {research, add})
        button->setAutoDefault(false);
    close->setDefault(true);
    buttons->addWidget(research);
    buttons->addWidget(add);
    buttons->addStretch(1);
    buttons->addWidget(close);
    root->addLayout(buttons);

    controls_.bind(ListCaption, caption);
    controls_.bind(FoundUnits, units_);
    controls_.bind(SearchPort, port);
    controls_.bind(Research, research);
    controls_.bind(Add, add);
    controls_.bind(Close, close);
    controls_.bind(Progress, progress);
    resize(420, 360);
}

void SearchDialog::connectActions()
{
    const auto button = [this](int id) { return static_cast<QPushButton*>(controls_.widget(id)); };
    connect(button(Research), &QPushButton::clicked, this, [this] { logic_.onResearch(); });
    connect(button(Add), &QPushButton::clicked, this, [this] { logic_.onAdd(); });
    connect(button(Close), &QPushButton::clicked, this, &QDialog::accept);
    connect(units_, &QTreeWidget::itemSelectionChanged, this, [this] { logic_.onSelectionChanged(); });
    connect(units_, &QTreeWidget::itemDoubleClicked, this, [this] { logic_.onAdd(); });
}

void SearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        logic_.start();
    }
}

void SearchDialog::setRows(const std::vector<SearchRow>& rows)
{
    units_->clear();
    QList<QTreeWidgetItem*> items;
    for (const SearchRow& row : rows) {
        auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(row.mac), QString::fromStdString(row.ip),
                                                     QString::fromStdString(row.model)});
        for (int c = 0; c < 3; ++c) {
            item->setForeground(c, QBrush(row.registered ? kRegisteredText : QColor(Qt::black)));
            item->setBackground(c, QBrush(Qt::white));
        }
        items.append(item);
    }
    units_->addTopLevelItems(items);
}

int SearchDialog::selectionMark() const
{
    const auto selected = units_->selectedItems();
    return selected.isEmpty() ? -1 : units_->indexOfTopLevelItem(selected.front());
}

std::optional<UnitConnection> SearchDialog::addUnit(const UnitList& list, const UnitConnection& in)
{
    return AddChangeDialog::run(this, list, -1, in);
}

void SearchDialog::post(std::function<void()> work)
{
    // Queued to this window: dropped by Qt if the window is already gone.
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void SearchDialog::accept()
{
    if (logic_.mayClose())
        QDialog::accept();
}

void SearchDialog::reject()
{
    if (logic_.mayClose())
        QDialog::reject();
}

} // namespace vantel
