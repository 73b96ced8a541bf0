#pragma once
// The title of each stage: what the stage selector shows beside the number and what a stage file records.

#include <array>

#include "document/address.h"
#include "document/uitextmark.h"

// UTF-8 (Japanese); the interface shows them through Tr("StageTitles", title).
inline constexpr std::array<const char*, kStageCount> kStageTitles = {
    QUORVEN_TEXT("StageTitles", "はじまりの草原"), QUORVEN_TEXT("StageTitles", "風の森"),
    QUORVEN_TEXT("StageTitles", "石切り場"),       QUORVEN_TEXT("StageTitles", "地下水路"),
    QUORVEN_TEXT("StageTitles", "砂の遺跡"),       QUORVEN_TEXT("StageTitles", "氷の山道"),
    QUORVEN_TEXT("StageTitles", "溶岩洞"),         QUORVEN_TEXT("StageTitles", "空中庭園"),
    QUORVEN_TEXT("StageTitles", "古い時計塔"),     QUORVEN_TEXT("StageTitles", "歯車工場"),
    QUORVEN_TEXT("StageTitles", "海底神殿"),       QUORVEN_TEXT("StageTitles", "雲の回廊"),
    QUORVEN_TEXT("StageTitles", "鏡の迷宮"),       QUORVEN_TEXT("StageTitles", "嵐の港"),
    QUORVEN_TEXT("StageTitles", "黒い城壁"),       QUORVEN_TEXT("StageTitles", "最後の塔"),
};
