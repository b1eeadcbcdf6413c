#include "registry/CVantelAddChange.h"

#include "registry/ListFieldText.h"
#include "registry/ModelCatalogue.h"
#include "registry/RegistryTexts.h"
#include "registry/UnitList.h"

#include <array>
#include <optional>
#include <string>

namespace vantel {
namespace {

using namespace AddChangeControl;

constexpr std::array kCategoryRadios{CategoryOrvex, CategoryWireless, CategoryAnalog, CategoryGateway};
constexpr std::array kGatewayControls{NodeLabel, Node, Lan, Usb, ComPortLabel, ComPort, TimeoutLabel, Timeout};

constexpr int kMaxPort = 65535;
constexpr int kMaxNode = 254;
constexpr int kMinTimeout = 1;
constexpr int kMaxTimeout = 120;
constexpr int kDefaultTimeout = 10;

std::string Trimmed(std::string_view text)
{
    constexpr std::string_view kSpace = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kSpace);
    return std::string(text.substr(first, last - first + 1));
}

// Whole text as a signed decimal number; nullopt for anything else. Values far
// outside every range saturate instead of overflowing.
std::optional<long long> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    constexpr long long kSaturation = 1'000'000'000'000LL;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value < kSaturation)
            value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

constexpr CVantelAddChange::TextRule kNameRule{Name, kMaxNameBytes, kNameMissing, kNameBadChar, kNameTooLong};
constexpr CVantelAddChange::TextRule kHostRule{Host, kMaxHostBytes, kHostMissing, kHostBadChar, kHostTooLong};
constexpr CVantelAddChange::NumberRule kControlPortRule{ControlPort, 1, kMaxPort, kPortMissing, kPortInvalid};
constexpr CVantelAddChange::NumberRule kSecondPortRule{SecondPort, 1, kMaxPort, kFieldMissing, kPortInvalid};
constexpr CVantelAddChange::NumberRule kNodeRule{Node, 0, kMaxNode, kNodeMissing, kNodeRange};
constexpr CVantelAddChange::NumberRule kTimeoutRule{Timeout, kMinTimeout, kMaxTimeout, kTimeoutMissing, kTimeoutRange};

} // namespace

CVantelAddChange::CVantelAddChange(ControlView& view, const UnitList& list, int editIndex, const UnitConnection& in,
                                   const TextCodec& codec)
    : view_(view), list_(list), codec_(codec), editIndex_(editIndex), in_(in),
      keptRow_(IsKnownModelRow(in.modelRow) ? in.modelRow : -1), values_(in)
{
}

void CVantelAddChange::start()
{
    view_.setText(Name, in_.name);
    view_.setText(Host, in_.host);
    view_.setCaption(editIndex_ == -1 ? kAddUnitCaption : kChangeUnitCaption);

    int controlPort = in_.controlPort;
    int secondPort = in_.secondPort;
    if (editIndex_ == -1 && in_.name.empty()) {
        controlPort = kDefaultControlPort;
        secondPort = kDefaultSecondPort;
    }
    view_.setText(ControlPort, std::to_string(controlPort));
    view_.setText(SecondPort, std::to_string(secondPort));
    view_.setChecked(PortCheck, controlPort != kDefaultControlPort || secondPort != kDefaultSecondPort);

    std::vector<std::string> comPorts;
    for (int port = 1; port <= kComPortCount; ++port)
        comPorts.push_back("COM" + std::to_string(port));
    view_.setItems(ComPort, comPorts);
    view_.setCurrentIndex(ComPort, 0);
    view_.setChecked(Lan, true);
    view_.setChecked(Usb, false);
    view_.setText(Node, "");
    view_.setText(Timeout, std::to_string(kDefaultTimeout));

    if (keptRow_ >= 0 && ModelAt(keptRow_).isGateway()) {
        const bool usb = in_.connectionKind == kConnectionUsb;
        view_.setChecked(Lan, !usb);
        view_.setChecked(Usb, usb);
        const bool comKnown = in_.comPort >= 1 && in_.comPort <= kComPortCount;
        view_.setCurrentIndex(ComPort, comKnown ? in_.comPort - 1 : 0);
        view_.setText(Node, std::to_string(in_.node));
        view_.setText(Timeout, std::to_string(in_.replyTimeout));
    }

    const ModelCategory home = keptRow_ >= 0 ? CategoryOfModel(keptRow_) : ModelCategory::None;
    const int homeRadio = home == ModelCategory::None ? CategoryOrvex : kCategoryRadios[static_cast<int>(home)];
    for (const int radio : kCategoryRadios)
        view_.setChecked(radio, radio == homeRadio);
    category_ = ModelCategory::None;
    applyCategoryChange();
    if (keptRow_ >= 0)
        view_.setCurrentIndex(Model, PositionInCategory(category_, keptRow_));
    applyPortRule();
}

void CVantelAddChange::onCategoryClicked()
{
    applyCategoryChange();
}

void CVantelAddChange::onLanUsbClicked()
{
    applyConnectionRule();
}

void CVantelAddChange::onPortCheckClicked()
{
    applyPortRule();
}

void CVantelAddChange::onModelChanged()
{
    applyPortRule();
}

ModelCategory CVantelAddChange::checkedCategory() const
{
    for (int i = 0; i < kModelCategoryCount; ++i) {
        if (view_.isChecked(kCategoryRadios[static_cast<std::size_t>(i)]))
            return static_cast<ModelCategory>(i);
    }
    return ModelCategory::None;
}

int CVantelAddChange::selectedModel() const
{
    if (category_ == ModelCategory::None)
        return kNoModel;
    const auto rows = CategoryRows(category_);
    const int position = view_.currentIndex(Model);
    if (position >= 0 && position < static_cast<int>(rows.size()))
        return rows[static_cast<std::size_t>(position)];
    // Nothing chosen: the unit keeps the model it has, even one no category offers.
    return keptRow_ >= 0 ? keptRow_ : kNoModel;
}

void CVantelAddChange::applyCategoryChange()
{
    const ModelCategory chosen = checkedCategory();
    if (chosen == category_)
        return;
    const bool gateway = chosen == ModelCategory::Gateway;
    for (const int id : kGatewayControls)
        view_.setVisible(id, gateway);
    view_.setVisible(PortFrame, !gateway);
    view_.setText(HostLabel, gateway ? kGatewayHostCaption : kHostCaption);
    view_.setText(ControlPortLabel, gateway ? kGatewayPortCaption : kControlPortCaption);
    if (gateway) {
        applyConnectionRule();
    } else {
        view_.setEnabled(Host, true);
        view_.setEnabled(HostLabel, true);
        view_.setEnabled(PortCheck, true);
    }
    view_.setItems(Model, CategoryModelNames(chosen));
    view_.setCurrentIndex(Model, 0);
    category_ = chosen;
    applyPortRule();
}

void CVantelAddChange::applyConnectionRule()
{
    const bool usb = view_.isChecked(Usb);
    view_.setEnabled(ComPortLabel, usb);
    view_.setEnabled(ComPort, usb);
    view_.setEnabled(PortCheck, !usb);
    view_.setEnabled(HostLabel, !usb);
    view_.setEnabled(Host, !usb);
    applyPortRule();
}

void CVantelAddChange::applyPortRule()
{
    const bool twoPort = ModelAt(selectedModel()).has(ModelFlag::TwoPort);
    const bool custom = view_.isChecked(PortCheck);
    if (!custom) {
        view_.setText(ControlPort, std::to_string(kDefaultControlPort));
        view_.setText(SecondPort, std::to_string(kDefaultSecondPort));
    }
    view_.setEnabled(ControlPort, custom);
    view_.setEnabled(ControlPortLabel, custom);
    view_.setEnabled(SecondPort, custom && twoPort);
    view_.setEnabled(SecondPortLabel, custom && twoPort);
    view_.setVisible(SecondPort, twoPort);
    view_.setVisible(SecondPortLabel, twoPort);
}

bool CVantelAddChange::refuse(std::string_view message)
{
    view_.showMessage(message);
    return false;
}

bool CVantelAddChange::onOk()
{
    UnitConnection out;
    out.modelRow = selectedModel();
    const bool gateway = ModelAt(out.modelRow).isGateway();
    const bool usb = gateway && view_.isChecked(Usb);

    const auto name = readText(kNameRule, true);
    if (!name)
        return false;
    if (!list_.IsLogNameFree(*name, editIndex_))
        return refuse(kLogNameTaken);
    const auto host = readText(kHostRule, !usb);
    if (!host)
        return false;
    // The control port does not matter to a unit on USB; an emptied edit means the default.
    const auto controlPort = readNumber(kControlPortRule, usb ? std::optional(kDefaultControlPort) : std::nullopt);
    if (!controlPort)
        return false;
    const auto secondPort = readNumber(kSecondPortRule, std::nullopt);
    if (!secondPort)
        return false;
    out.name = *name;
    // A unit on USB is reached through its COM port; the list file keeps no host for it.
    out.host = usb ? std::string() : *host;
    out.controlPort = *controlPort;
    out.secondPort = *secondPort;

    out.connectionKind = kConnectionUsb;
    out.comPort = 1;
    out.node = 0;
    out.replyTimeout = kDefaultTimeout;
    if (gateway && !readGatewayValues(out))
        return false;
    values_ = out;
    return true;
}

bool CVantelAddChange::readGatewayValues(UnitConnection& out)
{
    out.connectionKind = view_.isChecked(Lan) ? kConnectionLan : kConnectionUsb;
    out.comPort = std::max(view_.currentIndex(ComPort), 0) + 1;
    const auto node = readNumber(kNodeRule, std::nullopt);
    if (!node)
        return false;
    const auto timeout = readNumber(kTimeoutRule, std::nullopt);
    if (!timeout)
        return false;
    out.node = *node;
    out.replyTimeout = *timeout;
    return *timeout >= kDefaultTimeout || view_.ask(kShortTimeoutQuestion);
}

std::optional<std::string> CVantelAddChange::readText(const TextRule& rule, bool required)
{
    std::string text = Trimmed(view_.text(rule.id));
    if (text.empty() && required)
        return refused(rule.missing);
    if (!IsListFieldText(text, codec_))
        return refused(rule.badChar);
    if (!FitsListField(text, rule.maxBytes, codec_))
        return refused(rule.tooLong);
    return text;
}

std::optional<int> CVantelAddChange::readNumber(const NumberRule& rule, std::optional<int> whenEmpty)
{
    const std::string text = Trimmed(view_.text(rule.id));
    if (text.empty())
        return whenEmpty ? whenEmpty : refused(rule.missing);
    const auto value = ParseDecimal(text);
    if (!value || *value < rule.low || *value > rule.high)
        return refused(rule.outOfRange);
    return static_cast<int>(*value);
}

std::nullopt_t CVantelAddChange::refused(std::string_view message)
{
    view_.showMessage(message);
    return std::nullopt;
}

} // namespace vantel
