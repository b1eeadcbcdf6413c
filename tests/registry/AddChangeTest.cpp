#include "registry/CVantelAddChange.h"
#include "registry/ModelCatalogue.h"
#include "registry/UnitList.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace vantel {
namespace {

using namespace AddChangeControl;

constexpr int kGatewayControlIds[] = {NodeLabel, Node, Lan, Usb, ComPortLabel, ComPort, TimeoutLabel, Timeout};

UnitConnection Proposed(std::string name, std::string host, int modelRow)
{
    UnitConnection in;
    in.name = std::move(name);
    in.host = std::move(host);
    in.modelRow = modelRow;
    return in;
}

class AddChangeTest : public ::testing::Test {
protected:
    void open(int editIndex, const UnitConnection& in)
    {
        dialog = std::make_unique<CVantelAddChange>(view, list, editIndex, in, codec);
        dialog->start();
    }
    void openAdd() { open(-1, CVantelAddChange::blankUnit()); }
    void openChange(const UnitConnection& record)
    {
        ASSERT_EQ(list.Add(-1, record), 0);
        open(list.count() - 1, record);
    }

    void clickCategory(int radio)
    {
        for (const int id : {CategoryOrvex, CategoryWireless, CategoryAnalog, CategoryGateway})
            view.setChecked(id, id == radio);
        dialog->onCategoryClicked();
    }
    void chooseModel(int row)
    {
        const auto& names = view.items(Model);
        const auto it = std::find(names.begin(), names.end(), ModelAt(row).displayName);
        ASSERT_NE(it, names.end()) << "row " << row << " not offered";
        view.setCurrentIndex(Model, static_cast<int>(it - names.begin()));
        dialog->onModelChanged();
    }
    void clickUsb(bool usb)
    {
        view.setChecked(Lan, !usb);
        view.setChecked(Usb, usb);
        dialog->onLanUsbClicked();
    }
    void tickPorts(bool ticked)
    {
        view.setChecked(PortCheck, ticked);
        dialog->onPortCheckClicked();
    }
    // OK that must be refused with exactly this message.
    void expectRefused(const std::string& message)
    {
        const auto before = view.messages.size();
        EXPECT_FALSE(dialog->onOk());
        ASSERT_EQ(view.messages.size(), before + 1);
        EXPECT_EQ(view.messages.back(), message);
    }
    void fillGateway(const std::string& node, const std::string& timeout)
    {
        view.setText(Node, node);
        view.setText(Timeout, timeout);
    }

    TextCodec codec{"CP932"};
    UnitList list{""};
    test::FakeControlView view;
    std::unique_ptr<CVantelAddChange> dialog;
};

TEST_F(AddChangeTest, AddingOpensWithDefaultPortsLockedAndTheFirstOrvexModel)
{
    openAdd();
    EXPECT_EQ(view.caption, "ユニットの追加");
    EXPECT_EQ(view.text(ControlPort), "10003");
    EXPECT_EQ(view.text(SecondPort), "30704");
    EXPECT_FALSE(view.isChecked(PortCheck));
    EXPECT_FALSE(view.enabled(ControlPort));
    EXPECT_FALSE(view.enabled(SecondPort));
    EXPECT_TRUE(view.isChecked(CategoryOrvex));
    ASSERT_EQ(view.items(Model).size(), 19u);
    EXPECT_EQ(view.items(Model).front(), "QZ-K11");
    EXPECT_EQ(view.currentIndex(Model), 0);
    // QZ-K11 has a second port; the gateway controls stay hidden outside "ORVEX-GW".
    EXPECT_TRUE(view.visible(SecondPort));
    EXPECT_TRUE(view.visible(PortFrame));
    for (const int id : kGatewayControlIds)
        EXPECT_FALSE(view.visible(id)) << id;
    EXPECT_EQ(view.items(ComPort).size(), 99u);
    EXPECT_EQ(view.items(ComPort).back(), "COM99");
    EXPECT_EQ(view.text(Timeout), "10");
    EXPECT_EQ(view.text(HostLabel), "ホスト名 :");
    EXPECT_EQ(view.text(ControlPortLabel), "制御ポート :");
}

TEST_F(AddChangeTest, PortsFromTheCallerAreKeptWhenAProposedNameComesWithThem)
{
    UnitConnection found = Proposed("QZ-K16-P_0A0B0C", "192.168.0.7", 8);
    found.controlPort = 10010;
    open(-1, found);
    EXPECT_EQ(view.text(Name), "QZ-K16-P_0A0B0C");
    EXPECT_EQ(view.text(Host), "192.168.0.7");
    EXPECT_EQ(view.text(ControlPort), "10010");
    EXPECT_TRUE(view.isChecked(PortCheck));
    EXPECT_EQ(view.items(Model).at(static_cast<std::size_t>(view.currentIndex(Model))), ModelAt(8).displayName);

    // Without a name the caller's ports are not taken.
    open(-1, [] {
        UnitConnection in = CVantelAddChange::blankUnit();
        in.controlPort = 10010;
        return in;
    }());
    EXPECT_EQ(view.text(ControlPort), "10003");
    EXPECT_FALSE(view.isChecked(PortCheck));
}

TEST_F(AddChangeTest, ChangingAUnitWithItsOwnPortUnlocksThePortEdit)
{
    UnitConnection record = Proposed("Line A", "unit-a", 4);
    record.controlPort = 10010;
    openChange(record);
    EXPECT_EQ(view.caption, "ユニットの変更");
    EXPECT_TRUE(view.isChecked(PortCheck));
    EXPECT_TRUE(view.enabled(ControlPort));
    EXPECT_TRUE(view.enabled(ControlPortLabel));
    EXPECT_EQ(view.text(ControlPort), "10010");
    // QZ-K13 has no second port.
    EXPECT_FALSE(view.visible(SecondPort));
    EXPECT_FALSE(view.visible(SecondPortLabel));
}

TEST_F(AddChangeTest, ExistingUnitsOpenInTheirOwnCategoryWithTheirModelSelected)
{
    struct Case {
        int row;
        int radio;
    };
    for (const Case c :
         {Case{8, CategoryOrvex}, Case{15, CategoryWireless}, Case{48, CategoryAnalog}, Case{49, CategoryAnalog},
          Case{20, CategoryAnalog}, Case{37, CategoryGateway}, Case{38, CategoryGateway}}) {
        view = {};
        open(-1, Proposed("x", "h", c.row));
        EXPECT_TRUE(view.isChecked(c.radio)) << "row " << c.row;
        const int position = view.currentIndex(Model);
        ASSERT_GE(position, 0) << "row " << c.row;
        EXPECT_EQ(view.items(Model).at(static_cast<std::size_t>(position)), ModelAt(c.row).displayName);
    }
}

TEST_F(AddChangeTest, GatewayUnitOnUsbOpensWithItsConnectionValues)
{
    UnitConnection record = Proposed("Tank", "", 37);
    record.connectionKind = kConnectionUsb;
    record.comPort = 3;
    record.node = 12;
    record.replyTimeout = 30;
    openChange(record);
    EXPECT_TRUE(view.isChecked(CategoryGateway));
    EXPECT_FALSE(view.isChecked(CategoryOrvex));
    EXPECT_TRUE(view.isChecked(Usb));
    EXPECT_FALSE(view.isChecked(Lan));
    EXPECT_EQ(view.currentIndex(ComPort), 2);
    EXPECT_EQ(view.text(Node), "12");
    EXPECT_EQ(view.text(Timeout), "30");
    for (const int id : kGatewayControlIds)
        EXPECT_TRUE(view.visible(id)) << id;
    EXPECT_FALSE(view.visible(PortFrame));
    EXPECT_EQ(view.text(HostLabel), "QZ-GW10のホスト名 :");
    EXPECT_EQ(view.text(ControlPortLabel), "ポート番号 :");
    // On USB the host does not apply and the COM port does.
    EXPECT_FALSE(view.enabled(Host));
    EXPECT_FALSE(view.enabled(HostLabel));
    EXPECT_FALSE(view.enabled(PortCheck));
    EXPECT_TRUE(view.enabled(ComPort));
    EXPECT_TRUE(view.enabled(ComPortLabel));

    ASSERT_TRUE(dialog->onOk());
    const UnitConnection& out = dialog->values();
    EXPECT_EQ(out.modelRow, 37);
    EXPECT_EQ(out.connectionKind, kConnectionUsb);
    EXPECT_EQ(out.comPort, 3);
    EXPECT_EQ(out.node, 12);
    EXPECT_EQ(out.replyTimeout, 30);
    EXPECT_EQ(out.host, "");
}

TEST_F(AddChangeTest, CategoryAndConnectionClicksSwitchTheControlsBackAndForth)
{
    openAdd();
    clickCategory(CategoryGateway);
    EXPECT_EQ(view.items(Model).front(), "QZ-K13-GW");
    EXPECT_EQ(view.items(Model).size(), 6u);
    EXPECT_TRUE(view.visible(Node));
    EXPECT_FALSE(view.visible(PortFrame));
    EXPECT_TRUE(view.enabled(Host)); // LAN is the default
    EXPECT_FALSE(view.enabled(ComPort));

    clickUsb(true);
    EXPECT_FALSE(view.enabled(Host));
    EXPECT_FALSE(view.enabled(PortCheck));
    EXPECT_TRUE(view.enabled(ComPort));

    // Leaving the gateway category gives the host back even while USB stays selected.
    clickCategory(CategoryAnalog);
    EXPECT_EQ(view.items(Model).front(), "QZ-K17");
    EXPECT_TRUE(view.enabled(Host));
    EXPECT_TRUE(view.enabled(HostLabel));
    EXPECT_TRUE(view.enabled(PortCheck));
    EXPECT_FALSE(view.visible(Node));
    EXPECT_TRUE(view.visible(PortFrame));
    EXPECT_EQ(view.text(HostLabel), "ホスト名 :");

    // Clicking the category already shown keeps the user's model choice.
    chooseModel(30);
    clickCategory(CategoryAnalog);
    EXPECT_EQ(view.items(Model).at(static_cast<std::size_t>(view.currentIndex(Model))), "QZ-K28");
}

TEST_F(AddChangeTest, PortRuleFollowsTheBoxAndTheModel)
{
    openAdd();
    tickPorts(true);
    EXPECT_TRUE(view.enabled(ControlPort));
    EXPECT_TRUE(view.enabled(SecondPort)); // QZ-K11: two ports
    view.setText(ControlPort, "10020");
    view.setText(SecondPort, "30800");

    chooseModel(4); // QZ-K13
    EXPECT_FALSE(view.visible(SecondPort));
    EXPECT_FALSE(view.visible(SecondPortLabel));
    EXPECT_FALSE(view.enabled(SecondPort));
    EXPECT_TRUE(view.enabled(ControlPort));
    EXPECT_EQ(view.text(ControlPort), "10020");

    chooseModel(2); // QZ-K12-A
    EXPECT_TRUE(view.visible(SecondPort));
    EXPECT_TRUE(view.enabled(SecondPortLabel));

    // Unticking puts the defaults back and locks both edits.
    tickPorts(false);
    EXPECT_EQ(view.text(ControlPort), "10003");
    EXPECT_EQ(view.text(SecondPort), "30704");
    EXPECT_FALSE(view.enabled(ControlPort));
    EXPECT_FALSE(view.enabled(ControlPortLabel));
    EXPECT_FALSE(view.enabled(SecondPort));
}

TEST_F(AddChangeTest, OkChecksRunInOrderOneMessageAtATime)
{
    ASSERT_EQ(list.Add(-1, Proposed("a/b", "h", 8)), 0);
    openAdd();
    clickCategory(CategoryGateway);
    tickPorts(true);
    view.setText(ControlPort, "");
    view.setText(SecondPort, "");
    view.setText(Timeout, "");

    view.setText(Name, "   ");
    expectRefused("ユニット名称が未入力です。");
    view.setText(Name, "Tank \"1\"");
    expectRefused("ユニット名称に登録できない文字があります。");
    view.setText(Name, " a_b ");
    expectRefused("すでに登録済のユニット名称と同じログファイル名になるため設定できません。");
    view.setText(Name, "Tank");
    expectRefused("ホスト名が未入力です。");
    view.setText(Host, "gw\"");
    expectRefused("ホスト名に登録できない文字があります。");
    view.setText(Host, " gw-1 ");
    expectRefused("ポート番号が未入力です。");
    view.setText(ControlPort, "0");
    expectRefused("そのポート番号は設定できません。");
    view.setText(ControlPort, "65536");
    expectRefused("そのポート番号は設定できません。");
    view.setText(ControlPort, "65535");
    expectRefused("未入力の項目があります。");
    view.setText(SecondPort, "99999999999999999999");
    expectRefused("そのポート番号は設定できません。");
    view.setText(SecondPort, "1");
    expectRefused("ノード番号が未入力です。");
    view.setText(Node, "12");
    expectRefused("タイムアウト時間が未入力です。");
    view.setText(Timeout, "120");
    ASSERT_TRUE(dialog->onOk());

    const UnitConnection& out = dialog->values();
    EXPECT_EQ(out.name, "Tank");
    EXPECT_EQ(out.host, "gw-1");
    EXPECT_EQ(out.controlPort, 65535);
    EXPECT_EQ(out.secondPort, 1);
    EXPECT_EQ(out.modelRow, 33);
    EXPECT_EQ(out.connectionKind, kConnectionLan);
    EXPECT_EQ(out.node, 12);
    EXPECT_EQ(out.replyTimeout, 120);
    EXPECT_TRUE(view.questions.empty());
}

TEST_F(AddChangeTest, NodeAndTimeoutRanges)
{
    openAdd();
    clickCategory(CategoryGateway);
    view.setText(Name, "GW unit");
    view.setText(Host, "gw");
    for (const char* node : {"255", "-1", "abc", "1x"}) {
        fillGateway(node, "10");
        expectRefused("ノード番号は0-254の範囲で指定してください。");
    }
    for (const char* timeout : {"0", "121", "-5", "ten"}) {
        fillGateway("254", timeout);
        expectRefused("タイムアウト時間は1-120秒の範囲で指定してください。");
    }

    // A short time-out needs the user's consent.
    fillGateway("0", "5");
    view.answers = {false, true};
    EXPECT_FALSE(dialog->onOk());
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0], "通信タイムアウトになり、処理を終了する可能性があります。\r\n設定しますか。");
    EXPECT_TRUE(dialog->onOk());
    EXPECT_EQ(dialog->values().replyTimeout, 5);
    EXPECT_EQ(dialog->values().node, 0);
}

TEST_F(AddChangeTest, UsbGatewayNeedsNeitherHostNorPort)
{
    openAdd();
    clickCategory(CategoryGateway);
    view.setChecked(PortCheck, true); // ticked earlier, now out of reach
    clickUsb(true);
    view.setText(Name, "Tank");
    view.setText(Host, "");
    view.setText(ControlPort, "");
    fillGateway("3", "10");
    view.setCurrentIndex(ComPort, 98);
    ASSERT_TRUE(dialog->onOk()) << view.lastMessage();
    EXPECT_EQ(dialog->values().host, "");
    EXPECT_EQ(dialog->values().connectionKind, kConnectionUsb);
    EXPECT_EQ(dialog->values().comPort, 99);
    EXPECT_EQ(dialog->values().controlPort, 10003);

    // A host typed before switching to USB is not kept: the unit has none.
    view.setText(Host, "old-host");
    ASSERT_TRUE(dialog->onOk());
    EXPECT_EQ(dialog->values().host, "");
}

TEST_F(AddChangeTest, PlainUnitsGetNeutralGatewayValues)
{
    UnitConnection record = Proposed("Line A", "unit-a", 1);
    record.controlPort = 10005;
    record.secondPort = 30705;
    openChange(record);
    view.setText(Name, "Line A"); // its own name is not a clash
    ASSERT_TRUE(dialog->onOk()) << view.lastMessage();
    const UnitConnection& out = dialog->values();
    EXPECT_EQ(out.modelRow, 1);
    EXPECT_EQ(out.controlPort, 10005);
    EXPECT_EQ(out.secondPort, 30705);
    EXPECT_EQ(out.connectionKind, kConnectionUsb);
    EXPECT_EQ(out.comPort, 1);
    EXPECT_EQ(out.node, 0);
    EXPECT_EQ(out.replyTimeout, 10);
}

TEST_F(AddChangeTest, LogNameClashesFollowTheLogFileName)
{
    ASSERT_EQ(list.Add(-1, Proposed("ABC", "h", 8)), 0);
    ASSERT_EQ(list.Add(-1, Proposed("a:b", "h", 8)), 0);
    open(1, list.at(1));
    view.setText(Name, "abc"); // case matters
    EXPECT_TRUE(dialog->onOk()) << view.lastMessage();
    view.setText(Name, "a*b"); // same log name as its own record: fine
    EXPECT_TRUE(dialog->onOk()) << view.lastMessage();
    view.setText(Name, "ABC");
    expectRefused("すでに登録済のユニット名称と同じログファイル名になるため設定できません。");
}

TEST_F(AddChangeTest, TextTheListFileCannotHoldIsRefused)
{
    openAdd();
    view.setText(Host, "h");
    for (const char* name : {"Line,A", "Line\tA", "絵文字😀"}) {
        view.setText(Name, name);
        expectRefused("ユニット名称に登録できない文字があります。");
    }
    view.setText(Name, "Line A");
    for (const char* host : {"10.0.0.1,10.0.0.2", "h\x7f", "ホスト😀"}) {
        view.setText(Host, host);
        expectRefused("ホスト名に登録できない文字があります。");
    }
}

TEST_F(AddChangeTest, NameAndHostLimitsCountBytesInTheFileCodePage)
{
    openAdd();
    std::string kanji64;
    for (int i = 0; i < 64; ++i)
        kanji64 += "漢"; // two bytes each in CP932, three in UTF-8
    view.setText(Name, kanji64);
    view.setText(Host, std::string(128, 'h'));
    ASSERT_TRUE(dialog->onOk()) << view.lastMessage();
    EXPECT_EQ(dialog->values().name, kanji64);

    view.setText(Name, kanji64 + "a");
    expectRefused("ユニット名称が長すぎます。128バイト以内で入力してください。");
    view.setText(Name, "Line A");
    view.setText(Host, std::string(129, 'h'));
    expectRefused("ホスト名が長すぎます。128バイト以内で入力してください。");
}

TEST_F(AddChangeTest, UnitOfAModelOfferedNowhereKeepsItsModel)
{
    UnitConnection record = Proposed("W3 unit", "w3", 40);
    record.controlPort = 10003;
    openChange(record);
    EXPECT_TRUE(view.isChecked(CategoryOrvex));
    EXPECT_EQ(view.currentIndex(Model), -1);
    EXPECT_FALSE(view.visible(SecondPort)); // row 40 has one port, whatever the first ORVEX row has
    ASSERT_TRUE(dialog->onOk()) << view.lastMessage();
    EXPECT_EQ(dialog->values().modelRow, 40);

    // Choosing a model replaces it.
    clickCategory(CategoryWireless);
    chooseModel(17);
    ASSERT_TRUE(dialog->onOk());
    EXPECT_EQ(dialog->values().modelRow, 17);
}

TEST_F(AddChangeTest, RowOutsideTheCatalogueProposesNoModel)
{
    open(-1, Proposed("found", "10.0.0.9", kNoModel));
    EXPECT_TRUE(view.isChecked(CategoryOrvex));
    EXPECT_EQ(view.currentIndex(Model), 0);
    ASSERT_TRUE(dialog->onOk());
    EXPECT_EQ(dialog->values().modelRow, 1);
}

} // namespace
} // namespace vantel
