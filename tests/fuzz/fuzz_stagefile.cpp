// Fuzz entry point: the stage file reader. Whatever text it is given, it either refuses it with a
// StageFileError or returns a stage whose file reads back to the very same stage and bytes.

#include <string_view>

#include "document/stagefile.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    StageFileContent content;
    try {
        content = DecodeStageFile(text, "in.json");
    } catch (const StageFileError&) {
        return 0;  // refused: the one way out for a bad file
    }
    const std::string encoded = EncodeStageFile(content);
    const StageFileContent again = DecodeStageFile(encoded, "out.json");
    FUZZ_CHECK(EncodeStageFile(again) == encoded);
    FUZZ_CHECK(again.chips16 == content.chips16 && again.mapSets == content.mapSets && again.map == content.map);
    return 0;
}
