#pragma once
// The language of the interface. The program's texts are Japanese; English comes from the translation the
// build makes with the toolkit's own tools (translations/quorven_en.ts -> quorven_en.qm, built into the
// program). The choice is kept in the settings file, section "View", key "Language" ("ja", the default, or
// "en"), and applies when the program starts: the window is built once, in one language.

#include <QString>

class QCoreApplication;
class TMyMemIniFile;

namespace language {

enum class Language { Japanese, English };

inline constexpr const char* kSection = "View";
inline constexpr const char* kKey = "Language";

// "en" (in any case, blanks around it ignored) gives English; anything else, or no key, Japanese.
Language Read(const TMyMemIniFile& ini);
// The settings value of a language: "ja" or "en".
const char* Code(Language language);

// Installs into app the translations the language needs: for Japanese, the toolkit's own Japanese texts
// (standard dialogs, message-box buttons); for English, the program's English texts (the toolkit speaks
// English by itself). Returns whether the translation was found and installed.
bool Install(QCoreApplication& app, Language language);

}  // namespace language
