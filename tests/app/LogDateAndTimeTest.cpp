#include "SimUnit.h"
#include "app/MainWindow.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/digital/DigitalPanelIds.h"
#include "support/Eventually.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace vantel {
namespace {

class NinthOfDecember : public LocalTimeSource {
public:
    LocalDateTime now() const override { return {2026, 12, 9, 7, 5, 3}; }
};

// Qt's default locale set for the test's length.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(QLocale::c()); }
};

TEST(LogDateAndTime, ReadTheSameUnderEveryLocale)
{
    const LocalDateTime t = NinthOfDecember().now();
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian)}) {
        const DefaultLocale set(locale);
        EXPECT_EQ(LogDate(t), "2026/12/09") << locale.name().toStdString();
        EXPECT_EQ(LogTime(t), "07:05:03") << locale.name().toStdString();
    }
}

// The program as it starts (Qt's Japanese texts installed) on a German
// desktop: a panel's log lines still carry the one date and time form.
TEST(LogDateAndTime, APanelLogsThemSoOnAGermanDesktop)
{
    const DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    QTranslator* translations = InstallQtTranslations(*QApplication::instance());
    test::TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list((temp.path() / "vantel.dat").string(), codec);
    sim::SimUnit unit(sim::UnitConfig{.row = 0, .inputBits = 0x5});
    unit.start();
    UnitConnection connection;
    connection.name = "Tank";
    connection.host = "127.0.0.1";
    connection.controlPort = unit.port();
    connection.modelRow = 0;
    list.Add(-1, connection);

    AppState app;
    NinthOfDecember localTime;
    PanelContext context(list, app, list.at(0).id);
    context.logFolder = temp.folder();
    context.loggingEnabled = true;
    context.localTime = &localTime;
    context.codec = &codec;
    context.tickMode = Ticker::Mode::Manual;
    test::FakePanelView view;
    {
        auto panel = MakePanel<CVantelDIGITAL>(view, context);
        ASSERT_TRUE(panel->start());
        ASSERT_TRUE(test::Eventually([&] { return panel->inputBits() == 0x5; }));
        view.controls.setText(DigitalId::InputPeriod, "10");
        view.controls.setChecked(DigitalId::InputAuto, true);
        panel->onAutoClicked(DigitalId::InputAuto);
        for (int i = 0; i < 10; ++i)
            panel->tick();
    }
    std::ifstream in(temp.path() / "Tank.csv", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "日付,時刻,DO1,DO2,DI1,DI2,DI3\r\n"
                          "2026/12/09,07:05:03,0,0,1,0,1\r\n");
    if (translations) {
        QApplication::removeTranslator(translations);
        delete translations;
    }
}

} // namespace
} // namespace vantel
