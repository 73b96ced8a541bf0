#pragma once
// The one door every text of the interface passes through. The texts are written in Japanese, the editor's
// own language, and Tr gives them back unchanged unless a translation is installed (app/language.h), which
// then gives its own text for the same context and Japanese source.
//
// The translation tools (lupdate, run by the build's update_translations target) find every
// Tr("context", "text") call, every text marked with QT_TRANSLATE_NOOP("context", "text") and, in the
// document layer, which has no Qt, every QUORVEN_TEXT("context", "text") (document/uitextmark.h). A marked
// text is shown through Tr with the same context. Parts that vary go in as %1, %2 ... (QString::arg), so a
// translation may put them where its own grammar needs them.

#include <QCoreApplication>
#include <QString>

inline QString Tr(const char* context, const char* text) {
    return QCoreApplication::translate(context, text);
}
