// quorven-patch make ORIGINAL EDITED OUT.ips|OUT.bps
// quorven-patch apply IMAGE PATCH OUT
// Makes an IPS or BPS patch (by the output's extension) that turns ORIGINAL into EDITED, or applies an IPS or
// BPS patch (by its magic) to IMAGE. Nothing is written when anything fails; the output appears whole or not
// at all. Exit status: 0 done, 1 refused or failed, 2 wrong arguments.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "commandline.h"
#include "document/atomicfile.h"
#include "document/fileerror.h"
#include "document/patch.h"

namespace {

using patchfile::Bytes;

const toolcli::Program kProgram{
    "quorven-patch",
    "usage: quorven-patch make ORIGINAL EDITED OUT.ips|OUT.bps\n"
    "       quorven-patch apply IMAGE PATCH OUT\n"
    "  make writes a patch that turns ORIGINAL into EDITED (the format by OUT's extension);\n"
    "  apply applies an IPS or BPS patch to IMAGE and writes the result to OUT.\n"};

// Reads the whole file; throws FileError when it cannot be read.
Bytes ReadFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw FileError(path, "is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(path, "cannot open the file");
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError(path, "cannot read the file");
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    toolcli::Arguments args;
    if (const auto status = toolcli::Parse(argc, argv, kProgram, {}, args)) return *status;
    const std::vector<std::string>& a = args.positional;
    if (a.size() != 4) return toolcli::UsageError(kProgram);
    const std::string& command = a[0];
    const std::filesystem::path out = a[3];
    try {
        if (command == "make") {
            const patchfile::PatchFormat format = patchfile::FormatForFileName(out.string());
            if (format == patchfile::PatchFormat::Unknown) {
                std::fprintf(stderr, "%s: the patch's name must end in .ips or .bps\n", out.string().c_str());
                return 2;
            }
            const Bytes original = ReadFile(a[1]);
            const Bytes edited = ReadFile(a[2]);
            const Bytes patch = patchfile::MakePatch(format, original, edited);
            WriteFileAtomically(out, patch.data(), patch.size());
            return 0;
        }
        if (command == "apply") {
            const Bytes image = ReadFile(a[1]);
            const Bytes patch = ReadFile(a[2]);
            const Bytes result = patchfile::ApplyPatch(image, patch);
            WriteFileAtomically(out, result.data(), result.size());
            return 0;
        }
    } catch (const patchfile::PatchError& e) {
        std::fprintf(stderr, "refused, nothing written: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed, nothing written: %s\n", e.what());
        return 1;
    }
    return toolcli::UsageError(kProgram);
}
