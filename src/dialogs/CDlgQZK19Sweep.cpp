#include "dialogs/CDlgQZK19Sweep.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/NumberBoxFilter.h"

#include <array>
#include <charconv>

namespace vantel {

using namespace SweepId;

namespace {

constexpr int kLargestTime = 999999; // six digits

// "%2.5f" without the process locale.
std::string Fixed5(double value)
{
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 5);
    std::string text(buffer.data(), result.ptr);
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), ' ');
    return text;
}

} // namespace

void CDlgQZK19Sweep::onInitDialog()
{
    view_.setCaption(kSweepCaption);
    view_.setText(T1, std::to_string(t1));
    view_.setText(T2, std::to_string(t2));
    view_.setText(V1, Fixed5(v1));
    view_.setText(V2, Fixed5(v2));
    view_.setText(UnitOfV1, unit);
    view_.setText(UnitOfV2, unit);
}

void CDlgQZK19Sweep::onBoxChanged(int controlId)
{
    if (controlId == V1 || controlId == V2) {
        FilterNumberBox(view_, controlId);
    } else if (controlId == T1 || controlId == T2) {
        FilterBox(view_, controlId, kDigitCharacters);
        const std::string text = view_.text(controlId);
        if (text.size() > kTimeMaxCharacters)
            view_.setText(controlId, text.substr(0, kTimeMaxCharacters));
    }
}

bool CDlgQZK19Sweep::onOK()
{
    const int rise = ParseLeadingCount(view_.text(T1), kLargestTime);
    const int fall = ParseLeadingCount(view_.text(T2), kLargestTime);
    const double high = ParseNumberBox(view_.text(V2));
    const double low = ParseNumberBox(view_.text(V1));
    if (low > high) {
        view_.showMessage(kSweepOrderMessage);
        return false;
    }
    t1 = rise;
    t2 = fall;
    v2 = high;
    v1 = low;
    return true;
}

} // namespace vantel
