#pragma once

#include "platform/TextCodec.h"
#include "registry/ModelCategory.h"
#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

class UnitList;

// Controls of the unit add/change dialog.
namespace AddChangeControl {
inline constexpr int Name = 1001;
inline constexpr int CategoryOrvex = 1082;
inline constexpr int CategoryWireless = 1083;
inline constexpr int CategoryAnalog = 1084;
inline constexpr int CategoryGateway = 1088;
inline constexpr int Model = 1002;
inline constexpr int HostLabel = 1107;
inline constexpr int Host = 1003;
inline constexpr int PortFrame = 1108;
inline constexpr int PortCheck = 1080;
inline constexpr int ControlPortLabel = 1086;
inline constexpr int ControlPort = 1004;
inline constexpr int SecondPortLabel = 1085;
inline constexpr int SecondPort = 1005;
inline constexpr int NodeLabel = 1104;
inline constexpr int Node = 1006;
inline constexpr int Lan = 1105;
inline constexpr int Usb = 1106;
inline constexpr int ComPortLabel = 1109;
inline constexpr int ComPort = 1110;
inline constexpr int TimeoutLabel = 1111;
inline constexpr int Timeout = 1007;
} // namespace AddChangeControl

// Items "COM1" to "COM99" of the COM port box.
inline constexpr int kComPortCount = 99;

// Rules of the dialog in which the user adds or changes one unit: which
// controls apply to the chosen model, and the checks that OK runs, one message
// at a time. Nothing is written to the unit list here; the caller adds or
// changes the record with values() after onOk() accepted.
class CVantelAddChange {
public:
    // How OK reads one edit of the dialog and what it says when the edit will not do.
    struct TextRule {
        int id;
        std::size_t maxBytes;
        std::string_view missing;
        std::string_view badChar;
        std::string_view tooLong;
    };
    struct NumberRule {
        int id;
        int low;
        int high;
        std::string_view missing;
        std::string_view outOfRange;
    };

    // editIndex -1 adds a unit. in.modelRow -1 (or any row outside the
    // catalogue) proposes no model; in.name empty while adding means default ports.
    CVantelAddChange(ControlView& view, const UnitList& list, int editIndex, const UnitConnection& in,
                     const TextCodec& codec = FileCodec());

    // In-values for adding a unit with nothing proposed.
    static UnitConnection blankUnit()
    {
        UnitConnection in;
        in.modelRow = -1;
        return in;
    }

    // Fills the controls from the in-values.
    void start();

    // User actions.
    void onCategoryClicked();
    void onLanUsbClicked();
    void onPortCheckClicked();
    void onModelChanged();
    // Runs the checks; true when the dialog may close with OK and values() holds the result.
    bool onOk();

    int editIndex() const { return editIndex_; }
    const UnitConnection& values() const { return values_; }

private:
    ModelCategory checkedCategory() const;
    int selectedModel() const;
    void applyCategoryChange();
    void applyConnectionRule();
    void applyPortRule();
    bool readGatewayValues(UnitConnection& out);
    // The trimmed text or number of an edit; nullopt once its message was shown.
    std::optional<std::string> readText(const TextRule& rule, bool required);
    std::optional<int> readNumber(const NumberRule& rule, std::optional<int> whenEmpty);
    bool refuse(std::string_view message);
    std::nullopt_t refused(std::string_view message);

    ControlView& view_;
    const UnitList& list_;
    const TextCodec& codec_;
    int editIndex_;
    UnitConnection in_;
    // The unit's own row, kept when the model box offers it nowhere; -1 when none.
    int keptRow_;
    ModelCategory category_ = ModelCategory::None;
    UnitConnection values_;
};

} // namespace vantel
