#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "document/MyIniFiles.h"

namespace language {

Language Read(const TMyMemIniFile& ini) {
    const QString value = QString::fromStdString(ini.ReadString(kSection, kKey, "ja")).trimmed();
    return value.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 ? Language::English : Language::Japanese;
}

const char* Code(Language language) {
    return language == Language::English ? "en" : "ja";
}

bool Install(QCoreApplication& app, Language language) {
    auto* translator = new QTranslator(&app);
    bool loaded = false;
    if (language == Language::English) {
        loaded = translator->load(QStringLiteral(":/i18n/quorven_en.qm"));
    } else {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        for (const char* name : {"qtbase_ja", "qt_ja"}) {
            if (translator->load(QString::fromLatin1(name), folder)) {
                loaded = true;
                break;
            }
        }
    }
    if (loaded && QCoreApplication::installTranslator(translator)) return true;
    delete translator;
    return false;
}

}  // namespace language
