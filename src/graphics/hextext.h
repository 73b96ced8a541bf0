#pragma once
// The two-digit upper-case hexadecimal form every number of the interface is shown and typed in.

#include <QString>

// n's low byte as two upper-case hexadecimal digits.
inline QString Hex2(int n) { return QString::asprintf("%02X", unsigned(n) & 0xFFu); }

// Exactly two hexadecimal digits of either case; no sign, prefix or blank is accepted.
inline bool ParseHex2(const QString& text, int& value) {
    if (text.size() != 2) return false;
    int v = 0;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        int d;
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
        else return false;
        v = v * 16 + d;
    }
    value = v;
    return true;
}
