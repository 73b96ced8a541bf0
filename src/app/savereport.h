#pragma once
// The report of a file the editor writes: a failure, or a write that happened but whose new name may not
// survive a power loss (the flush of its folder failed after the rename).

#include <filesystem>

#include "document/atomicfile.h"

class RomImageData;
class UserPrompts;

// Shows the warning for a write whose name is not durable; nothing for a durable one.
void ReportWriteResult(UserPrompts& prompts, const std::filesystem::path& path, const AtomicWriteResult& result);

// Saves the image to path. A failure is shown as an error and returns false (the image stays modified); a
// save whose name is not durable returns true (the image is saved) after showing the warning.
bool SaveImageReported(UserPrompts& prompts, RomImageData& rom, const std::filesystem::path& path);
