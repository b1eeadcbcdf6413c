#include "registry/ModelCatalogue.h"

#include <array>

namespace vantel {
namespace {

constexpr std::array<ModelRow, kModelCount + 1> kRows{{
    {0, "QZ-K10-P(G)", "QZ-K10-P", 0, 0x10, 2, 3},
    {1, "QZ-K11", "QZ-K11", 1, 0x10000010, 3, 2},
    {2, "QZ-K12-A / QZ-K12-A(G)", "QZ-K12-A", 2, 0x10000010, 0, 7},
    {3, "QZ-K12-P / QZ-K12-P(G)", "QZ-K12-P", 2, 0x10000010, 0, 7},
    {4, "QZ-K13 / QZ-K13(G)", "QZ-K13", 3, 0x10, 5, 0},
    {5, "QZ-K14 / QZ-K14(G)", "QZ-K14", 4, 0x10, 5, 2},
    {6, "QZ-K14-P", "QZ-K14-P", 4, 0x10, 5, 2},
    {7, "QZ-K15-P / QZ-K15-P(G)", "QZ-K15-P", 5, 0x10, 0, 5},
    {8, "QZ-K16-P / QZ-K16-P(G)", "QZ-K16-P", 6, 0x10, 3, 3},
    {9, "QZ-K10-PW / QZ-K10-PW2", "QZ-K10-PW", 0, 0x11, 2, 3},
    {10, "QZ-K11-W / QZ-K11-W2", "QZ-K11-W", 1, 0x11, 3, 2},
    {11, "QZ-K12-AW / QZ-K12-AW2", "QZ-K12-AW", 2, 0x11, 0, 7},
    {12, "QZ-K12-PW / QZ-K12-PW2", "QZ-K12-PW", 2, 0x11, 0, 7},
    {13, "QZ-K13-W / QZ-K13-W2", "QZ-K13-W", 3, 0x11, 5, 0},
    {14, "QZ-K14-W / QZ-K14-W2", "QZ-K14-W", 4, 0x11, 5, 2},
    {15, "QZ-K14-PW / QZ-K14-PW2", "QZ-K14-PW", 4, 0x11, 5, 2},
    {16, "QZ-K15-PW / QZ-K15-PW2", "QZ-K15-PW", 5, 0x11, 0, 5},
    {17, "QZ-K16-PW / QZ-K16-PW2", "QZ-K16-PW", 6, 0x11, 3, 3},
    {18, "QZ-K17(V2)", "QZ-K17(V2)", 10, 0x40, 2, 3},
    {19, "QZ-K17", "QZ-K17", 8, 0x40, 2, 3},
    {20, "QZ-K18-P", "QZ-K18-P", 11, 0x20, 3, 2},
    {21, "QZ-K19-P", "QZ-K19-P", 9, 0x20, 2, 3},
    {22, "QZ-K20-P", "QZ-K20-P", 17, 0x80, 4, 4},
    {23, "QZ-K21", "QZ-K21", 19, 0x80, 8, 0},
    {24, "QZ-K22", "QZ-K22", 20, 0x80, 8, 0},
    {25, "QZ-K23-P", "QZ-K23-P", 21, 0x80, 0, 8},
    {26, "QZ-K24-P", "QZ-K24-P", 22, 0x80, 4, 4},
    {27, "QZ-K25-P", "QZ-K25-P", 7, 0x100, 2, 2},
    {28, "QZ-K26-P", "QZ-K26-P", 9, 0x100, 2, 2},
    {29, "QZ-K27", "QZ-K27", 10, 0x100, 2, 2},
    {30, "QZ-K28", "QZ-K28", 12, 0x40, 0, 5},
    {31, "QZ-K29/-P", "QZ-K29", 25, 0x200, 2, 2},
    {32, "QZ-K30/-P", "QZ-K30", 26, 0x200, 2, 2},
    {33, "QZ-K13-GW", "QZ-K13-GW", 1, 0x82, 5, 0},
    {34, "QZ-K35-GW", "QZ-K35-GW", 2, 0x82, 0, 5},
    {35, "QZ-K16P-GW", "QZ-K16P-GW", 3, 0x82, 3, 3},
    {36, "QZ-K14-GW", "QZ-K14-GW", 4, 0x82, 5, 2},
    {37, "QZ-K17-GW", "QZ-K17-GW", 8, 0x42, 2, 3},
    {38, "QZ-K33P-GW", "QZ-K33P-GW", 9, 0x22, 3, 3},
    {39, "QZ-K10-PW3", "QZ-K10-PW3", 0, 0x400, 2, 3},
    {40, "QZ-K11-W3", "QZ-K11-W3", 1, 0x400, 3, 2},
    {41, "QZ-K12-AW3", "QZ-K12-AW3", 2, 0x400, 0, 7},
    {42, "QZ-K12-PW3", "QZ-K12-PW3", 2, 0x400, 0, 7},
    {43, "QZ-K13-W3", "QZ-K13-W3", 3, 0x400, 5, 0},
    {44, "QZ-K14-W3", "QZ-K14-W3", 4, 0x400, 5, 2},
    {45, "QZ-K14-PW3", "QZ-K14-PW3", 4, 0x400, 5, 2},
    {46, "QZ-K15-PW3", "QZ-K15-PW3", 5, 0x400, 0, 5},
    {47, "QZ-K16-PW3", "QZ-K16-PW3", 6, 0x400, 3, 3},
    {48, "QZ-K17-W", "QZ-K17-W", 10, 0x440, 2, 3},
    {49, "QZ-K33-PW", "QZ-K33-PW", 13, 0x420, 3, 3},
    {50, "", "", -1, 0, 0, 0},
}};

} // namespace

bool IsKnownModelRow(int row)
{
    return row >= 0 && row < kModelCount;
}

const ModelRow& ModelAt(int row)
{
    return kRows[IsKnownModelRow(row) ? row : kNoModel];
}

int FindModelRow(std::int32_t modelCode, std::uint32_t wantedFlags)
{
    if (wantedFlags & ModelFlag::SerialInterface) {
        for (int i = 0; i < kModelCount; ++i) {
            if (kRows[i].has(ModelFlag::SerialInterface) && kRows[i].modelCode == modelCode)
                return i;
        }
        return kNoModel;
    }
    for (int i = 0; i < kModelCount; ++i) {
        const ModelRow& row = kRows[i];
        if ((wantedFlags & ModelFlag::FirstWireless) && !row.has(ModelFlag::FirstWireless))
            continue;
        if ((wantedFlags & ModelFlag::ThirdWireless) && !row.has(ModelFlag::ThirdWireless))
            continue;
        if (row.modelCode == modelCode)
            return i;
    }
    return kNoModel;
}

} // namespace vantel
