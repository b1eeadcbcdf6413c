#include "app/MainWindow.h"

#include "app/AppTexts.h"
#include "app/TraceWindow.h"

#include "graph/LogViewerWindow.h"
#include "registry/AddChangeDialog.h"
#include "registry/RegistryTexts.h"
#include "search/SearchDialog.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QTranslator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantel {
namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

MainWindow::MainWindow(UnitList& list, AppState& state, std::string logFolder, QWidget* parent)
    : QWidget(parent), controls_(*this), list_(list), state_(state), logic_(list, state, *this)
{
    setWindowTitle("Vantel");
    buildLayout();
    connectActions();
    logic_.setLogFolder(std::move(logFolder));
}

void MainWindow::buildLayout()
{
    auto* root = new QVBoxLayout(this);

    auto* adapterRow = new QHBoxLayout;
    auto* adapterLabel = new QLabel(kAdapterCaption);
    auto* adapters = new QComboBox;
    adapterLabel->setBuddy(adapters);
    adapterRow->addWidget(adapterLabel);
    adapterRow->addWidget(adapters, 1);
    root->addLayout(adapterRow);

    auto* listGroup = new QGroupBox(kDeviceListCaption);
    auto* listRow = new QHBoxLayout(listGroup);
    units_ = new QTreeWidget;
    units_->setColumnCount(4);
    units_->setHeaderLabels({kNameColumnCaption, kHostColumnCaption, kPortColumnCaption, kModelColumnCaption});
    units_->setRootIsDecorated(false);
    units_->setSelectionMode(QAbstractItemView::SingleSelection);
    units_->setSelectionBehavior(QAbstractItemView::SelectRows);
    units_->setUniformRowHeights(true);
    units_->setMinimumHeight(220);
    const int widths[] = {120, 120, 80, 100};
    for (int c = 0; c < 4; ++c)
        units_->setColumnWidth(c, units_->fontMetrics().averageCharWidth() * widths[c] / 6);
    units_->installEventFilter(this);
    listRow->addWidget(units_, 1);
    auto* buttons = new QVBoxLayout;
    const std::pair<int, const char*> listButtons[] = {
        {MainId::Search, kSearchAddCaption}, {MainId::Add, kAddCaption},       {MainId::Change, kChangeCaption},
        {MainId::Delete, kDeleteCaption},    {MainId::MoveUp, kMoveUpCaption}, {MainId::MoveDown, kMoveDownCaption},
        {MainId::Connect, kConnectCaption}};
    for (const auto& [id, text] : listButtons) {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        controls_.bind(id, button);
        buttons->addWidget(button);
        if (id == MainId::Add || id == MainId::MoveDown)
            buttons->addSpacing(8);
    }
    buttons->addStretch(1);
    openLog_ = new QPushButton(kOpenLogButtonCaption);
    openLog_->setAutoDefault(false);
    buttons->addWidget(openLog_);
    trace_ = new QPushButton(kTraceButtonCaption);
    trace_->setAutoDefault(false);
    buttons->addWidget(trace_);
    listRow->addLayout(buttons);
    root->addWidget(listGroup, 1);

    auto* logGroup = new QGroupBox(kLogGroupCaption);
    auto* logLayout = new QGridLayout(logGroup);
    auto* logging = new QCheckBox(kLoggingCaption);
    auto* switching = new QCheckBox(kFileSwitchingCaption);
    auto* lines = new QComboBox;
    auto* folder = new QLabel;
    folder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* browse = new QPushButton(kBrowseCaption);
    browse->setAutoDefault(false);
    logLayout->addWidget(logging, 0, 0);
    logLayout->addWidget(switching, 0, 1);
    logLayout->addWidget(lines, 0, 2);
    logLayout->addWidget(new QLabel(kFolderCaption), 1, 0);
    logLayout->addWidget(folder, 1, 1, 1, 2);
    logLayout->addWidget(browse, 1, 3);
    logLayout->setColumnStretch(1, 1);
    root->addWidget(logGroup);

    auto* bottom = new QHBoxLayout;
    auto* version = new QLabel;
    auto* exit = new QPushButton(kExitCaption);
    exit->setAutoDefault(false);
    bottom->addWidget(version, 1);
    bottom->addWidget(exit);
    root->addLayout(bottom);

    controls_.bind(MainId::Adapter, adapters);
    controls_.bind(MainId::LoggingEnabled, logging);
    controls_.bind(MainId::FileSwitching, switching);
    controls_.bind(MainId::LinesPerFile, lines);
    controls_.bind(MainId::LogFolder, folder);
    controls_.bind(MainId::BrowseFolder, browse);
    controls_.bind(MainId::Version, version);
    controls_.bind(MainId::Exit, exit);
    resize(620, 480);
}

void MainWindow::connectActions()
{
    const auto onClick = [this](int id, void (CVantelDlg::*action)()) {
        connect(static_cast<QPushButton*>(controls_.widget(id)), &QPushButton::clicked, this,
                [this, action] { (logic_.*action)(); });
    };
    onClick(MainId::Add, &CVantelDlg::onAdd);
    onClick(MainId::Change, &CVantelDlg::onChange);
    onClick(MainId::Delete, &CVantelDlg::onDelete);
    onClick(MainId::MoveUp, &CVantelDlg::onMoveUp);
    onClick(MainId::MoveDown, &CVantelDlg::onMoveDown);
    onClick(MainId::Connect, &CVantelDlg::onConnect);
    onClick(MainId::BrowseFolder, &CVantelDlg::onBrowseFolder);
    connect(static_cast<QPushButton*>(controls_.widget(MainId::Exit)), &QPushButton::clicked, this, &QWidget::close);
    connect(static_cast<QCheckBox*>(controls_.widget(MainId::LoggingEnabled)), &QCheckBox::clicked, this,
            [this] { logic_.onLoggingClicked(); });
    connect(static_cast<QComboBox*>(controls_.widget(MainId::Adapter)), &QComboBox::activated, this,
            [this](int index) { logic_.onAdapterChanged(index); });
    connect(units_, &QTreeWidget::itemSelectionChanged, this, [this] { logic_.onSelectionChanged(); });
    // Only a double-click connects: Enter is not a dialog key in this window.
    connect(units_, &QTreeWidget::itemDoubleClicked, this,
            [this] { logic_.onRowActivated(QApplication::keyboardModifiers().testFlag(Qt::ControlModifier)); });
    connect(&timer_, &QTimer::timeout, this, [this] { logic_.onTimer(); });
    connect(static_cast<QPushButton*>(controls_.widget(MainId::Search)), &QPushButton::clicked, this,
            [this] { SearchDialog::run(this, list_, state_, searchTarget_); });
    connect(openLog_, &QPushButton::clicked, this,
            [this] { LogViewerWindow::chooseAndOpen(QString::fromStdString(logic_.logFolder()), this); });
    connect(trace_, &QPushButton::clicked, this, [this] { TraceWindow::showFor(this); });
    // CSV logs dropped on the window open in a log viewer.
    setAcceptDrops(true);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LogViewerWindow::csvFilesOf(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = LogViewerWindow::csvFilesOf(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    LogViewerWindow::openChosen(files, this);
}

bool MainWindow::start(std::vector<Adapter> adapters)
{
    if (!logic_.start(std::move(adapters)))
        return false;
    timer_.start(100);
    return true;
}

void MainWindow::setUnitRows(const std::vector<UnitListRow>& rows)
{
    const QSignalBlocker block(units_);
    units_->clear();
    QList<QTreeWidgetItem*> items;
    for (const UnitListRow& row : rows)
        items.append(new QTreeWidgetItem(QStringList{qs(row[0]), qs(row[1]), qs(row[2]), qs(row[3])}));
    units_->addTopLevelItems(items);
}

int MainWindow::selectionMark() const
{
    const auto selected = units_->selectedItems();
    return selected.isEmpty() ? -1 : units_->indexOfTopLevelItem(selected.front());
}

void MainWindow::selectRow(int row)
{
    {
        const QSignalBlocker block(units_);
        units_->clearSelection();
        if (QTreeWidgetItem* item = units_->topLevelItem(row)) {
            item->setSelected(true);
            units_->setCurrentItem(item);
        }
    }
    logic_.onSelectionChanged();
}

void MainWindow::scrollToRow(int row)
{
    if (QTreeWidgetItem* item = units_->topLevelItem(row))
        units_->scrollToItem(item);
}

std::optional<UnitConnection> MainWindow::editUnit(const UnitList& list, int editIndex, const UnitConnection& in)
{
    return AddChangeDialog::run(this, list, editIndex, in);
}

std::optional<std::string> MainWindow::chooseFolder(const std::string& title, const std::string& start)
{
    const QString folder = QFileDialog::getExistingDirectory(this, qs(title), qs(start), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

void MainWindow::closeWindow()
{
    closeAllowed_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closeAllowed_ || logic_.onCloseRequested()) {
        timer_.stop();
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == units_ && event->type() == QEvent::FocusIn)
        logic_.onSelectionChanged();
    return QWidget::eventFilter(watched, event);
}

QTranslator* InstallQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QLocale interfaceLanguage(QLocale::Japanese, QLocale::Japan);
    if (!translator->load(interfaceLanguage, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace vantel
