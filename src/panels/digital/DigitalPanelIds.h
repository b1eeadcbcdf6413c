#pragma once

#include <array>

namespace vantel {

// Control ids of the digital unit panel's window; index i is output or input
// channel i (DO i+1, DI i+1).
namespace DigitalId {
inline constexpr std::array<int, 8> OutputName = {1005, 1009, 1014, 1017, 1025, 1029, 1047, 1081};
inline constexpr std::array<int, 8> OutputIndicator = {1050, 1051, 1052, 1053, 1054, 1055, 1056, 1082};
inline constexpr std::array<int, 8> OutputButton = {1010, 1011, 1012, 1015, 1018, 1026, 1036, 1083};
inline constexpr std::array<int, 8> OutputAuto = {1020, 1021, 1022, 1023, 1024, 1027, 1037, 1084};
inline constexpr std::array<int, 8> OutputPeriod = {1030, 1031, 1032, 1033, 1034, 1035, 1038, 1085};
inline constexpr std::array<int, 8> OutputPeriodLabel = {1040, 1041, 1042, 1043, 1044, 1045, 1046, 1086};

inline constexpr std::array<int, 8> InputName = {1048, 1061, 1064, 1067, 1071, 1074, 1077, 1088};
inline constexpr std::array<int, 8> InputIndicator = {1057, 1059, 1063, 1066, 1069, 1073, 1076, 1089};
inline constexpr int ReadInputs = 1070; // "入力"
inline constexpr int InputAuto = 1060;
inline constexpr int InputPeriod = 1080;
inline constexpr int InputPeriodLabel = 1090;

inline constexpr int OutputGroup = 1078; // "DO"
inline constexpr int InputGroup = 1079;  // "DI"
} // namespace DigitalId

} // namespace vantel
