#pragma once
// The names the editor gives the 16 stages (the stage selector, exported stage files and maps).

#include "document/address.h"

// The title of a stage (UTF-8, Japanese; shown through Tr("StageTitles", ...)), empty outside 0 to 15.
const char* StageTitle(int stage);
