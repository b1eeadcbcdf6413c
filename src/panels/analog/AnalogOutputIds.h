#pragma once

#include <array>

namespace vantel::AnalogOutputId {

// The controls of one analog-output row.
struct Row {
    int name;
    int formula;   // 換算式
    int threshold; // 閾値
    int mode;      // V/I
    int output;    // 換算出力値 box
    int setting;   // 出力設定値 label
    int unit;      // unit label
    int button;    // ON/OFF
    int indicator;
    int sweepSettings; // 設定
    int sweep;         // SWEEP
    int bar;
};

inline constexpr std::array<Row, 3> Rows{{
    {1088, 1071, 1072, 1075, 1040, 1042, 1052, 1044, 1046, 1050, 1061, 1048},
    {1089, 1073, 1074, 1076, 1041, 1043, 1053, 1045, 1047, 1051, 1059, 1049},
    {1091, 1112, 1113, 1117, 1119, 1120, 1114, 1116, 1115, 1121, 1122, 1118},
}};

inline constexpr std::array<int, 3> InputNames{1092, 1093, 1094};
inline constexpr std::array<int, 3> InputIndicators{1100, 1101, 1102};
inline constexpr int ReadInputs = 1070; // 入力
inline constexpr int InputAuto = 1060;
inline constexpr int InputPeriod = 1080;
inline constexpr int InputPeriodLabel = 1090;
inline constexpr int OutputGroup = 1123;
inline constexpr int SweepHeading = 1111;
inline constexpr std::array<int, 3> SweepSeparators{1077, 1078, 1079};

} // namespace vantel::AnalogOutputId
