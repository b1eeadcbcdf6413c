#include "app/CVantelDlg.h"
#include "platform/AtomicFile.h"
#include "support/FakeMainView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

using namespace vantel;

namespace {

class RecordingPanel : public UnitPanel {
public:
    void requestClose() override { ++closeRequests; }
    void setLoggingEnabled(bool e) override { logging = e; }
    int closeRequests = 0;
    bool logging = false;
};

class RecordingConnector : public UnitConnector {
public:
    void connect(UnitRecord& record, const ConnectRequest& r, MainWindowView&) override
    {
        connected = record.name;
        request = r;
    }
    void onTimer(UnitList&, MainWindowView&) override { ++timerCalls; }
    void shutDown() override { ++shutDowns; }
    std::string connected;
    ConnectRequest request;
    int timerCalls = 0;
    int shutDowns = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { dlg.setConnector(&connector); }

    void startWith(std::initializer_list<const char*> names, int row = 8)
    {
        for (const char* name : names) {
            UnitConnection u;
            u.name = name;
            u.host = "h";
            u.modelRow = row;
            list.Add(-1, u);
        }
        list.Save();
        ASSERT_TRUE(dlg.start({LoopbackAdapter()}));
    }
    void select(int row)
    {
        view.selected = row;
        dlg.onSelectionChanged();
    }
    // "追加(&A)" with a unit the dialog accepts.
    void addNewUnit()
    {
        UnitConnection u;
        u.name = "new";
        u.host = "10.0.0.1";
        u.modelRow = 4;
        view.nextEdit = u;
        dlg.onAdd();
    }
    std::vector<bool> buttons() const
    {
        std::vector<bool> b;
        for (int id : {MainId::Change, MainId::Delete, MainId::Connect, MainId::MoveUp, MainId::MoveDown})
            b.push_back(view.ui.enabled(id));
        return b;
    }

    test::TempFolder folder;
    std::string path = (folder.path() / "vantel.dat").string();
    AppState state;
    test::FakeMainView view;
    ManualClock clock;
    UnitList list{path};
    CVantelDlg dlg{list, state, view, clock};
    RecordingConnector connector;
};

using B = std::vector<bool>;

} // namespace

TEST_F(MainWindowTest, StartShowsTheListAndDisablesSelectionButtons)
{
    startWith({"a", "b"});
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0], (UnitListRow{"a", "h", "10003", "QZ-K16-P"}));
    EXPECT_EQ(view.ui.items(MainId::Adapter), std::vector<std::string>{"127.0.0.1 (lo)"});
    EXPECT_EQ(view.ui.currentIndex(MainId::LinesPerFile), 1);
    EXPECT_EQ(view.ui.text(MainId::Version).rfind("Version ", 0), 0u);
    EXPECT_EQ(buttons(), B(5, false));
}

TEST_F(MainWindowTest, NoAdapterEndsTheProgramWithoutReadingTheList)
{
    EXPECT_FALSE(dlg.start({}));
    EXPECT_EQ(view.ui.lastMessage(),
              "ネットワークデバイスが見つかりません。\r\nLANケーブルやパソコンのWi-Fi設定などを確認してください");
    EXPECT_TRUE(view.rows.empty());
}

TEST_F(MainWindowTest, AListThatCannotBeReadIsSaidAtStartUpAndNeverSavedOver)
{
    std::filesystem::create_directory(path);
    ASSERT_TRUE(dlg.start({LoopbackAdapter()}));
    ASSERT_EQ(view.ui.messages.size(), 1u);
    EXPECT_EQ(view.ui.lastMessage(),
              "ユニットリストを読み込めません\n" + path + "\nit is a folder\nこのファイルには保存しません。");
    EXPECT_TRUE(view.rows.empty());

    addNewUnit();
    EXPECT_EQ(view.ui.lastMessage(), "変更が保存できませんでした。");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(MainWindowTest, SkippedLinesAreSaidOnceAtStartUpAndTheFileIsKeptAtTheFirstSave)
{
    const std::string original = "\"a\",\"h\",10003,30704,8,-1,-1,D1,D2,D3,I1,I2,I3\r\n"
                                 "\"cut\",\"h\",10003\r\n"
                                 "\"b\",\"h\",10003,30704,60,-1,-1\r\n";
    std::ofstream(path, std::ios::binary) << original;
    ASSERT_TRUE(dlg.start({LoopbackAdapter()}));
    ASSERT_EQ(view.ui.messages.size(), 1u);
    const std::string keptCopy = list.readReport().keptCopy;
    EXPECT_EQ(view.ui.lastMessage(), "ユニットリストの次の行は読み込めませんでした。\n" + path +
                                         "\n2行目: 項目が 3 個しかありません (7 個必要)"
                                         "\n3行目: モデル番号 \"60\" はありません"
                                         "\n最初に保存するとき、元のファイルを\n" +
                                         keptCopy + "\nとして残します。");
    ASSERT_EQ(view.rows.size(), 1u);

    EXPECT_EQ(ReadWholeFile(path).value(), original) << "nothing written before a save";
    addNewUnit();
    EXPECT_EQ(ReadWholeFile(keptCopy).value(), original);
    EXPECT_EQ(ReadWholeFile(path)->find("cut"), std::string::npos);
}

TEST_F(MainWindowTest, SelectionRuleFollowsRowPositionAndOpenPanels)
{
    startWith({"a", "b", "c"});
    select(0);
    EXPECT_EQ(buttons(), (B{true, true, true, false, true}));
    select(2);
    EXPECT_EQ(buttons(), (B{true, true, true, true, false}));
    select(-1);
    EXPECT_EQ(buttons(), B(5, false));

    list.at(1).panelOpen = true;
    state.openPanelCount = 1;
    select(1);
    EXPECT_EQ(buttons(), B(5, false)) << "an open unit cannot be changed, deleted, moved or connected";
    select(0);
    EXPECT_EQ(buttons(), (B{true, true, true, false, false})) << "no reordering while any panel is open";
}

TEST_F(MainWindowTest, ListColumnsShowPortOrNodeAndComForUsbGateways)
{
    UnitRecord r;
    r.name = "gw";
    r.host = "x";
    r.modelRow = 33;
    r.node = 12;
    r.comPort = 3;
    r.connectionKind = kConnectionUsb;
    EXPECT_EQ(UnitListColumns(r), (UnitListRow{"gw", "COM3", "12", "QZ-K13-GW"}));
    r.connectionKind = kConnectionLan;
    EXPECT_EQ(UnitListColumns(r)[1], "x");
    r.modelRow = 99;
    EXPECT_EQ(UnitListColumns(r)[3], "") << "an unknown model shows an empty model column";
}

TEST_F(MainWindowTest, AddAppendsSavesAndScrollsToTheNewRow)
{
    startWith({"a"});
    addNewUnit();
    EXPECT_EQ(view.lastEditIndex, -1);
    EXPECT_EQ(view.lastEditIn.modelRow, -1);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(view.rows.back()[0], "new");
    EXPECT_EQ(view.scrolledTo, 1);
    EXPECT_NE(ReadWholeFile(path)->find("\"new\",\"10.0.0.1\""), std::string::npos);

    view.nextEdit.reset();
    dlg.onAdd();
    EXPECT_EQ(list.count(), 2) << "cancel adds nothing";
}

TEST_F(MainWindowTest, AddToAFullListAndFailedSavesAreReported)
{
    startWith({});
    UnitConnection u;
    u.name = "x";
    for (int i = 0; i < UnitList::kMaxUnits; ++i)
        list.Add(-1, u);
    view.nextEdit = u;
    dlg.onAdd();
    EXPECT_EQ(view.ui.lastMessage(), "追加できません。");

    UnitList unsaveable((folder.path() / "no-such-dir" / "x.dat").string());
    CVantelDlg other(unsaveable, state, view, clock);
    ASSERT_TRUE(other.start({LoopbackAdapter()}));
    other.onAdd();
    EXPECT_EQ(unsaveable.count(), 1);
    EXPECT_EQ(view.ui.lastMessage(), "変更が保存できませんでした。");
}

TEST_F(MainWindowTest, ChangeAndDeleteRefuseOpenUnitsAndAskFirst)
{
    startWith({"a", "b"});
    list.at(0).panelOpen = true;
    view.selected = 0;
    dlg.onChange();
    EXPECT_EQ(view.ui.lastMessage(), "使用中のデバイスには実行できません。");
    dlg.onDelete();
    EXPECT_EQ(list.count(), 2);

    view.selected = 1;
    UnitConnection changed = list.at(1);
    changed.name = "renamed";
    view.nextEdit = changed;
    dlg.onChange();
    EXPECT_EQ(view.lastEditIndex, 1);
    EXPECT_EQ(list.at(1).name, "renamed");
    EXPECT_EQ(view.selected, 1);

    view.ui.answers = {false};
    dlg.onDelete();
    EXPECT_EQ(view.ui.questions.back(), "[ renamed ]を削除します。");
    EXPECT_EQ(list.count(), 2);
    dlg.onDelete();
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(view.selected, -1);
    EXPECT_EQ(buttons(), B(5, false));
}

TEST_F(MainWindowTest, MovesKeepTheSelectionOnTheMovedUnitAndSave)
{
    startWith({"a", "b", "c"});
    view.selected = 2;
    dlg.onMoveUp();
    EXPECT_EQ(list.at(1).name, "c");
    EXPECT_EQ(view.selected, 1);
    EXPECT_EQ(view.scrolledTo, 2);
    dlg.onMoveDown();
    EXPECT_EQ(list.at(2).name, "c");
    UnitList reloaded(path);
    reloaded.Load();
    EXPECT_EQ(reloaded.at(2).name, "c");
}

TEST_F(MainWindowTest, ConnectHandsThePanelItsSettings)
{
    startWith({"a", "b"});
    view.ui.setChecked(MainId::LoggingEnabled, true);
    view.ui.setChecked(MainId::FileSwitching, true);
    view.ui.setCurrentIndex(MainId::LinesPerFile, 3);
    dlg.setLogFolder("/logs/");
    view.selected = 1;
    dlg.onConnect();
    EXPECT_EQ(connector.connected, "b");
    EXPECT_EQ(connector.request.listIndex, 1);
    EXPECT_TRUE(connector.request.loggingEnabled);
    EXPECT_EQ(connector.request.fileSwitchLines, 1000000);
    EXPECT_EQ(connector.request.logFolder, "/logs/");
    EXPECT_EQ(view.selected, -1);

    EXPECT_EQ(FileSwitchingValue(false, 2), -1);
    EXPECT_EQ(FileSwitchingValue(true, 0), 1000);
    EXPECT_EQ(FileSwitchingValue(true, 1), 10000);
}

TEST_F(MainWindowTest, ConnectRefusesAUnitWhoseModelIsUnknown)
{
    startWith({"a"});
    list.at(0).modelRow = 77;
    view.selected = 0;
    dlg.onConnect();
    EXPECT_TRUE(connector.connected.empty());
    EXPECT_NE(view.ui.lastMessage().find("機種が不明"), std::string::npos);
}

TEST_F(MainWindowTest, LoggingBoxReachesOpenPanelsAtOnce)
{
    startWith({"a", "b"});
    RecordingPanel panel;
    list.at(1).panelOpen = true;
    list.at(1).panel = &panel;
    view.ui.setChecked(MainId::LoggingEnabled, true);
    dlg.onLoggingClicked();
    EXPECT_TRUE(panel.logging);
}

TEST_F(MainWindowTest, BrowseSetsTheFolderWithATrailingSlash)
{
    startWith({});
    view.nextFolder = "/data/logs";
    dlg.onBrowseFolder();
    EXPECT_EQ(view.folderTitle, "ログフォルダを選択してください");
    EXPECT_EQ(dlg.logFolder(), "/data/logs/");
    EXPECT_EQ(view.ui.text(MainId::LogFolder), "/data/logs/");
}

TEST_F(MainWindowTest, ShutdownWaitsForPanelsTwoSecondsEach)
{
    startWith({"a", "b", "c"});
    RecordingPanel first, stuck;
    list.at(0).panelOpen = true;
    list.at(0).panel = &first;
    list.at(2).panelOpen = true;
    list.at(2).panel = &stuck;

    EXPECT_FALSE(dlg.onCloseRequested());
    EXPECT_EQ(first.closeRequests, 1);
    EXPECT_EQ(stuck.closeRequests, 1);
    EXPECT_FALSE(dlg.onCloseRequested()) << "a second close while waiting asks nothing again";
    EXPECT_EQ(first.closeRequests, 1);

    dlg.onTimer();
    EXPECT_FALSE(view.closed);
    list.at(0).panelOpen = false; // the first panel ends
    clock.advance(100);
    dlg.onTimer();
    EXPECT_FALSE(view.closed);
    clock.advance(1999);
    dlg.onTimer();
    EXPECT_FALSE(view.closed);
    clock.advance(1);
    dlg.onTimer();
    EXPECT_TRUE(view.closed) << "a panel that does not end within 2 s is abandoned";
    EXPECT_EQ(connector.shutDowns, 0) << "the gateway link stays while panels may still use it";
    EXPECT_TRUE(dlg.onCloseRequested()) << "the re-posted close";
    EXPECT_EQ(connector.shutDowns, 1);
}

TEST_F(MainWindowTest, CloseWithoutPanelsClosesAtOnceAndTheTimerServesTheConnector)
{
    startWith({"a"});
    dlg.onTimer();
    EXPECT_EQ(connector.timerCalls, 1) << "the gateway connect's deadline and the link's close";
    EXPECT_TRUE(dlg.onCloseRequested());
    EXPECT_EQ(connector.shutDowns, 1) << "the gateway link closes with the window";
}

TEST_F(MainWindowTest, TimerServesTheListRefreshRequest)
{
    startWith({"a"});
    UnitConnection u;
    u.name = "found";
    list.Add(-1, u);
    state.listRefreshRequest = 2;
    dlg.onTimer();
    EXPECT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.selected, 1);
    EXPECT_EQ(state.listRefreshRequest.load(), 0);
}
