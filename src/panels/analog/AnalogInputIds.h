#pragma once

#include <array>

namespace vantel::AnalogInputId {

// The controls of one analog-input row. The rows beyond the third (the
// five-input unit) and the thermocouple buttons have ids of their own.
struct Row {
    int name;
    int formula;   // 換算式
    int threshold; // 閾値
    int range;     // range combo box
    int bar;
    int measured;     // raw reading converted for its range
    int converted;    // through the row's formula
    int thermocouple; // 熱電対設定
};

inline constexpr std::array<Row, 5> Rows{{
    {1093, 1062, 1063, 1017, 1014, 1022, 1027, 1200},
    {1094, 1064, 1065, 1018, 1015, 1025, 1028, 1201},
    {1095, 1066, 1067, 1019, 1016, 1026, 1029, 1202},
    {1096, 1130, 1131, 1132, 1133, 1134, 1135, 1203},
    {1097, 1136, 1137, 1138, 1139, 1140, 1141, 1204},
}};

// The controls of one digital output.
struct Output {
    int name;
    int indicator;
    int button; // ON/OFF
    int autoBox;
    int period;
    int alert;         // "DOアラート" check box
    int alertSettings; // its 設定
};

inline constexpr std::array<Output, 2> Outputs{{
    {1091, 1050, 1010, 1020, 1030, 1210, 1212},
    {1092, 1051, 1011, 1021, 1031, 1211, 1213},
}};

inline constexpr int SampleRate = 1068; // "ADC sps"
inline constexpr int ReadInputs = 1070; // 入力
inline constexpr int InputAuto = 1060;
inline constexpr int InputPeriod = 1080;

} // namespace vantel::AnalogInputId
