#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "graphics/uitext.h"

#ifndef QUORVEN_VERSION
#define QUORVEN_VERSION "unknown"
#endif

namespace commandline {

namespace {
constexpr const char* kProgramName = "quorven-editor";

// The options end at "--"; a lone "-" is an argument.
bool IsOption(const char* arg) {
    return arg[0] == '-' && arg[1] != '\0';
}

// An option's name as the user typed it: "-x" or "--bogus", without a value.
QString AsTyped(const QStringList& arguments, const QString& name) {
    for (const QString& a : arguments) {
        const QString typed = a.section(QLatin1Char('='), 0, 0);
        if (typed == QLatin1Char('-') + name || typed == QLatin1String("--") + name) return typed;
    }
    return QLatin1Char('-') + name;
}

int Refuse(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, text.toLocal8Bit().constData());
    return 2;
}
}  // namespace

bool AsksForTextOnly(int argc, const char* const* argv) {
    for (int i = 1; i < argc && argv[i] && std::strcmp(argv[i], "--") != 0; ++i)
        for (const char* text : {"-h", "--help", "--help-all", "--version"})
            if (std::strcmp(argv[i], text) == 0) return true;
    return false;
}

bool NoDisplay() {
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int RefuseNoDisplay() {
    std::fprintf(stderr, "%s: %s\n", kProgramName,
                 Tr("CommandLine", "ウィンドウを表示するディスプレイがありません（DISPLAY が設定されていません）")
                     .toLocal8Bit()
                     .constData());
    return 1;
}

Outcome Read(const QCoreApplication& app, int argc, const char* const* argv) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Tr("CommandLine", "ファミコンのROMイメージのステージを編集します。"));
    parser.addHelpOption();
    const QCommandLineOption version(QStringList{"version"}, Tr("CommandLine", "バージョンを表示して終了します。"));
    parser.addOption(version);
    parser.addPositionalArgument(
        "image", Tr("CommandLine", "開くROMイメージ（.nes）。\"-\" で始まる名前は \"--\" の後に書きます。"), "[image]");

    // The toolkit has taken its own options out already: a single dash starts a long option too ("-bogus").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(app.arguments())) {
        if (parser.unknownOptionNames().isEmpty()) return {Refuse(parser.errorText()), 0};
        return {Refuse(Tr("CommandLine", "未知のオプションです: '%1'（--help で使い方を表示します）")
                           .arg(AsTyped(app.arguments(), parser.unknownOptionNames().constFirst()))),
                0};
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", kProgramName, QUORVEN_VERSION);
        return {0, 0};
    }
    // Help (and --help-all) print and end the program here, in the toolkit's own way.
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        return {Refuse(Tr("CommandLine", "開けるROMイメージは一つだけです: %1")
                           .arg(parser.positionalArguments().join(QLatin1Char(' ')))),
                0};

    // The image as bytes from argv, not from the parser's text: a name that is not UTF-8 (a Shift-JIS name
    // unpacked from an archive) must reach the file system unchanged.
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        if (!optionsEnded && std::strcmp(argv[i], "--") == 0)
            optionsEnded = true;
        else if (optionsEnded || !IsOption(argv[i]))
            return {std::nullopt, i};
    }
    return {};
}

}  // namespace commandline
