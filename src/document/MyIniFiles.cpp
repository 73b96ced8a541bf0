#include "document/MyIniFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "document/atomicfile.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names are matched without regard to ASCII letter case: they are looked up by their lower-case form.
std::string NameKey(const std::string& name) {
    std::string k = name;
    for (char& c : k) c = LowerAscii(c);
    return k;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bare hexadecimal digits (at least one) whose value fits in 32 bits.
bool ParseHexDigits(const std::string& s, std::uint32_t& out) {
    if (s.empty()) return false;
    std::uint64_t v = 0;
    for (char c : s) {
        int d = HexDigit(c);
        if (d < 0) return false;
        v = v * 16 + static_cast<std::uint64_t>(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    out = static_cast<std::uint32_t>(v);
    return true;
}

// Optional sign, then decimal digits, or "0x"/"0X"/"$" and hexadecimal digits (the 32-bit pattern, so
// FFFFFFFF is -1). Decimal values must lie in the signed 32-bit range.
bool ParseInteger(const std::string& text, std::int32_t& out) {
    std::string s = Trim(text);
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string rest = s.substr(i);
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        rest = rest.substr(2);
    else if (!rest.empty() && rest[0] == '$')
        rest = rest.substr(1);
    else {
        if (rest.empty()) return false;
        std::int64_t v = 0;
        for (char c : rest) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
            if (v > 2147483648LL) return false;
        }
        if (negative) v = -v;
        if (v > 2147483647LL || v < -2147483648LL) return false;
        out = static_cast<std::int32_t>(v);
        return true;
    }
    std::uint32_t u = 0;
    if (!ParseHexDigits(rest, u)) return false;
    if (negative) u = 0u - u;
    out = static_cast<std::int32_t>(u);
    return true;
}

// Keys and values must stay on one line and keep their meaning when read back.
std::string OneLine(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c == '\r' || c == '\n') c = ' ';
    return Trim(r);
}

}  // namespace

TMyMemIniFile::TMyMemIniFile(std::filesystem::path fileName) : fileName_(std::move(fileName)) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName_, ec)) return;  // absent, a folder, or unreadable: an empty file
    std::string text;
    try {
        std::ifstream in(fileName_, std::ios::binary);
        if (!in) return;
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return;
    } catch (const std::exception&) {
        return;
    }
    Parse(text);
}

void TMyMemIniFile::Parse(const std::string& textIn) {
    std::string_view text(textIn);
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string raw(text.substr(pos, end - pos));
        pos = end + 1;  // past the CR or LF (or past the end)
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;  // CR LF

        std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line[0] == ';' || line[0] == '#') {
            if (current)
                current->entries.push_back(Entry{std::string(), line, true});
            else
                preamble_.push_back(line);
            continue;
        }
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            if (close == std::string::npos) continue;            // not a section line, and a key cannot start with '['
            std::string name = Trim(line.substr(1, close - 1));  // anything after ']' is ignored
            current = &SectionForWrite(name);  // a section that appears again is merged into the first
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos || current == nullptr) continue;
        std::string key = Trim(line.substr(0, eq));
        if (key.empty()) continue;
        current->Add(Entry{key, Trim(line.substr(eq + 1)), false});
    }
}

void TMyMemIniFile::Section::Add(Entry entry) {
    if (!entry.comment)
        keyIndex.emplace(NameKey(entry.key), entries.size());  // the first appearance stays the one found
    entries.push_back(std::move(entry));
}

const TMyMemIniFile::Entry* TMyMemIniFile::Section::Find(const std::string& key) const {
    auto it = keyIndex.find(NameKey(key));
    return it == keyIndex.end() ? nullptr : &entries[it->second];
}

const TMyMemIniFile::Section* TMyMemIniFile::FindSection(const std::string& name) const {
    auto it = sectionIndex_.find(NameKey(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TMyMemIniFile::Section& TMyMemIniFile::SectionForWrite(const std::string& name) {
    const std::string stored = OneLine(name);
    auto [it, added] = sectionIndex_.emplace(NameKey(stored), sections_.size());
    if (added) sections_.push_back(Section{stored, {}, {}});
    return sections_[it->second];
}

const std::string* TMyMemIniFile::FindValue(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    const Entry* e = s->Find(key);
    return e ? &e->value : nullptr;
}

bool TMyMemIniFile::SectionExists(const std::string& section) const {
    return FindSection(section) != nullptr;
}

bool TMyMemIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> TMyMemIniFile::Sections() const {
    std::vector<std::string> names;
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::string> TMyMemIniFile::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    const Section* s = FindSection(section);
    if (!s) return keys;
    for (std::size_t i = 0; i < s->entries.size(); ++i) {
        const Entry& e = s->entries[i];
        if (!e.comment && s->Find(e.key) == &e)  // the first of duplicate keys only
            keys.push_back(e.key);
    }
    return keys;
}

std::string TMyMemIniFile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
    const std::string* v = FindValue(section, key);
    return v ? *v : def;
}

void TMyMemIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // A section name with ']' would read back cut short at it: such a value is not stored.
    if (OneLine(section).find(']') != std::string::npos) return;
    Section& s = SectionForWrite(section);
    std::string v = OneLine(value);
    if (const Entry* e = s.Find(key)) {
        const_cast<Entry*>(e)->value = v;
        return;
    }
    std::string k = OneLine(key);
    // A key that could not be read back (empty, or starting a comment or section) is not stored.
    if (k.empty() || k[0] == ';' || k[0] == '#' || k[0] == '[' || k.find('=') != std::string::npos) return;
    s.Add(Entry{k, v, false});
}

std::int32_t TMyMemIniFile::ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const {
    const std::string* v = FindValue(section, key);
    std::int32_t out = 0;
    if (v && ParseInteger(*v, out)) return out;
    return def;
}

void TMyMemIniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

bool TMyMemIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMyMemIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::int32_t TMyMemIniFile::ReadHex(const std::string& section, const std::string& key, std::int32_t def) const {
    const std::string* v = FindValue(section, key);
    std::uint32_t out = 0;
    if (v && ParseHexDigits(*v, out)) return static_cast<std::int32_t>(out);
    return def;
}

void TMyMemIniFile::WriteHex(const std::string& section, const std::string& key, std::int32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    WriteString(section, key, buf);
}

std::string TMyMemIniFile::ToText() const {
    std::string out;
    for (const std::string& c : preamble_) out += c + "\n";
    if (!preamble_.empty() && !sections_.empty()) out += "\n";
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0) out += "\n";
        out += "[" + sections_[i].name + "]\n";
        for (const Entry& e : sections_[i].entries) out += e.comment ? e.value + "\n" : e.key + "=" + e.value + "\n";
    }
    return out;
}

void TMyMemIniFile::UpdateFile() const {
    std::string text = ToText();
    WriteFileAtomically(fileName_, text.data(), text.size());
}
