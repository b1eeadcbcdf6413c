#include "support/CommaLocale.h"
#include "AnalogPanelFixture.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/AnalogPanelNames.h"

namespace vantel {
namespace {

using namespace AnalogOutputId;
using test::Eventually;

constexpr int kQZK33Row = 49;

// Before any thread of the program starts, as in the program itself.
[[maybe_unused]] const auto* const kCommaLocale = ::testing::AddGlobalTestEnvironment(new test::CommaLocale);

class CommaLocaleTest : public test::AnalogPanelFixture {
protected:
    CommaLocaleTest() : AnalogPanelFixture(kQZK33Row) {}

    void open()
    {
        panel = MakePanel<CDlgQZK33>(view, context(), page(ContainerKind::QZK33), connect());
        panel->start();
        ASSERT_TRUE(Eventually([&] { return panel->startUpAnswers() == 2 * panel->outputCount(); }));
    }

    PanelPtr<CDlgQZK33> panel;
};

TEST_F(CommaLocaleTest, AValueWithADecimalPointSetsThatValueAndIsShownAndLoggedWithIt)
{
    open();
    view.setText(Rows[0].output, "2.5");
    panel->onOutputButton(0);
    const int raw = ValueToOutputRaw(OutputMode::Voltage, 2.5);
    EXPECT_EQ(panel->outputRaw(0), raw);
    EXPECT_EQ(view.text(Rows[0].setting), "2.5000 V");
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].raw == raw; }));
    EXPECT_EQ(panel->csvValues(), ",0,0,0,2.50000,V,0.00000,V,0.00000,V");

    panel->onSweepButton(1);
    panel->onSweepButton(1);
    EXPECT_EQ(view.text(Rows[1].output), "0.0000") << "the box after a sweep";
}

} // namespace
} // namespace vantel
