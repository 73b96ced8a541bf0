#pragma once
// The two-digit upper-case hexadecimal form every number of the interface is shown and typed in.

#include <QString>

// n's low byte as two upper-case hexadecimal digits.
inline QString Hex2(int n) {
    return QString::asprintf("%02X", unsigned(n) & 0xFFu);
}

// The value of one hexadecimal digit of either case, or -1 for any other character.
inline int HexDigitValue(QChar ch) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Exactly two hexadecimal digits of either case; no sign, prefix or blank is accepted.
inline bool ParseHex2(const QString& text, int& value) {
    if (text.size() != 2) return false;
    int v = 0;
    for (QChar ch : text) {
        const int d = HexDigitValue(ch);
        if (d < 0) return false;
        v = v * 16 + d;
    }
    value = v;
    return true;
}

// n's low four bits as one upper-case hexadecimal digit.
inline QString Hex1(int n) {
    return QString::asprintf("%X", unsigned(n) & 0xFu);
}
