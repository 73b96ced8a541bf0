#pragma once
// File names as text, without losing a byte. Linux file names are bytes; most are UTF-8, but names
// unpacked from archives made on Windows are often Shift-JIS. Such a name must survive the way from the
// command line through the window's text (UTF-16) back to the file system exactly.

#include <filesystem>
#include <string>
#include <string_view>

// UTF-16 text of a path: its valid UTF-8 sequences as the characters they encode, every other byte b as
// the lone surrogate U+DC00 + b (b is 0x80 to 0xFF), which no valid text contains.
std::u16string FilePathToText(const std::filesystem::path& path);

// The inverse: characters as UTF-8, the surrogates U+DC80 to U+DCFF as the bytes they stand for. Any other
// lone surrogate becomes U+FFFD.
std::filesystem::path FilePathFromText(std::u16string_view text);
