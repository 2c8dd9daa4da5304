#include "ui/commandline.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "kovalex_version.h"

namespace {

// The arguments that are no options, as their bytes: everything after "--",
// "-" itself and what does not begin with "-", as QCommandLineParser takes
// them.
std::vector<std::string> PositionalBytes(int argc, char* argv[]) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
      positional.emplace_back(arg);
    }
  }
  return positional;
}

// The folder made absolute from the working directory, "." and ".." taken
// out, byte for byte otherwise.
std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error).lexically_normal();
  if (error) path = std::filesystem::path(folder).lexically_normal();
  std::string text = path.native();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

bool AsksForHelpOrVersion(int argc, char* argv[]) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--") return false;
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") return true;
  }
  return false;
}

TCommandLine ReadCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int k = 0; k < argc; ++k) arguments << QString::fromLocal8Bit(argv[k]);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral(KOVALEX_PRODUCT ": searches the KOVA Japanese-English dictionaries (Shift-JIS text files)."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("DIR"),
                               QStringLiteral("The folder that holds the dictionary files (optional)."),
                               QStringLiteral("[DIR]"));
  TCommandLine result;
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, KOVALEX_PROGRAM ": %s\n", qPrintable(parser.errorText()));
    result.ExitStatus = 2;
  } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    result.ExitStatus = 0;
  } else if (parser.isSet(version)) {
    std::puts(KOVALEX_PROGRAM " (" KOVALEX_PRODUCT ") " KOVALEX_VERSION);
    result.ExitStatus = 0;
  } else if (parser.positionalArguments().size() > 1) {
    std::fputs(KOVALEX_PROGRAM ": at most one DIR may be given\n", stderr);
    result.ExitStatus = 2;
  } else if (const std::vector<std::string> folders = PositionalBytes(argc, argv); folders.size() == 1) {
    // Made absolute, so that the status line says which folder it is.
    result.DictionaryFolder = AbsoluteFolder(folders.front());
  }
  return result;
}
