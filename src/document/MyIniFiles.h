#pragma once
// In-memory INI file: read whole at open, edited in memory, written whole on request.
//
// Text form: "[name]" opens a section (text after the ']' is ignored); "key=value" lines give values (split at the first '='). Blank space
// around section names, keys and values is ignored. Lines whose first non-blank character is ';' or '#' are
// comments: they are kept, in place, and written back unchanged. Blank lines, lines without '=' and lines
// before the first section that are not comments are dropped. When a key appears twice in a section, the
// first one is read and written; the others stay in the file untouched. A section that appears twice is
// merged into its first appearance. Line ends CR LF, LF or CR are accepted; the file is written with LF,
// one blank line between sections. A UTF-8 byte order mark at the start is skipped.

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

class TMyMemIniFile {
public:
    // Reads the whole file; an absent or unreadable file gives an empty one.
    explicit TMyMemIniFile(std::filesystem::path fileName);

    const std::filesystem::path& FileName() const { return fileName_; }

    // Section and key names are matched without regard to ASCII letter case.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::vector<std::string> Sections() const;                        // in file order
    std::vector<std::string> Keys(const std::string& section) const;  // in file order

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Line ends in any part become blanks. A key or section that could not be read back (an empty key, a
    // key with '=' or starting with ';', '#' or '[', a section name with ']') is not written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // Decimal; a value starting with "0x", "0X" or "$" is hexadecimal; anything else that is not a number
    // (or does not fit in 32 bits) gives the default.
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const;
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);

    // Read as an integer: any value other than 0 is true; written as "1" or "0".
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Bare hexadecimal digits (either case, no prefix); anything else gives the default.
    std::int32_t ReadHex(const std::string& section, const std::string& key, std::int32_t def) const;
    // Upper-case hexadecimal digits, as few as needed (the 32-bit pattern for negative values).
    void WriteHex(const std::string& section, const std::string& key, std::int32_t value);

    // The whole file as it would be written.
    std::string ToText() const;
    // Writes the whole file atomically (temporary file in the same folder, then rename).
    // Throws FileError when it cannot be written; the old file is then left as it was.
    void UpdateFile() const;

private:
    // A comment line is kept verbatim (in value) where it stood; its key is empty.
    struct Entry {
        std::string key, value;
        bool comment = false;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // Lower-case key -> index in entries of its first appearance, so a lookup costs the same however
        // many keys the section holds.
        std::unordered_map<std::string, std::size_t> keyIndex;
        void Add(Entry entry);
        const Entry* Find(const std::string& key) const;
    };
    std::filesystem::path fileName_;
    std::vector<std::string> preamble_;  // comment lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-case name -> index in sections_

    void Parse(const std::string& text);
    const Section* FindSection(const std::string& name) const;
    Section& SectionForWrite(const std::string& name);
    const std::string* FindValue(const std::string& section, const std::string& key) const;
};
