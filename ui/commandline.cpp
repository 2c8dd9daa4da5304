#include "ui/commandline.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/handover.h"
#include "kovalex_version.h"
#include "sjis/exceptions.h"

namespace {

// The toolkit's options that take a value, and those that take none.
constexpr std::string_view kToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "display",  "geometry",           "style",         "stylesheet", "session"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// Whether arg is an option followed by its value in the next argument.
bool TakesValue(std::string_view arg) {
  if (arg == "-s" || arg == "--search") return true;
  for (const std::string_view name : kToolkitValueOptions) {
    if (arg.size() > 1 && arg[0] == '-' && arg.substr(arg.starts_with("--") ? 2 : 1) == name) return true;
  }
  return false;
}

// The arguments that are no options, as their bytes: everything after "--",
// "-" itself and what does not begin with "-" (nor is an option's value), as
// QCommandLineParser takes them.
std::vector<std::string> PositionalBytes(int argc, char* argv[]) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
      positional.emplace_back(arg);
    } else if (TakesValue(arg)) {
      ++k;
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

// Standard input up to its first line end, or a little more than a query
// may hold.
std::string ReadInputLine() {
  std::string input;
  char buffer[512];
  while (input.size() <= handover::kMaxQueryBytes + 1 && input.find('\n') == std::string::npos) {
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    input.append(buffer, static_cast<std::size_t>(got));
  }
  return input;
}

}  // namespace

TCommandLine ReadCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int k = 0; k < argc; ++k) arguments << QString::fromLocal8Bit(argv[k]);
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(
      QStringLiteral(KOVALEX_PRODUCT ": searches the KOVA Japanese-English dictionaries (Shift-JIS text files)."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption search(
      {QStringLiteral("s"), QStringLiteral("search")},
      QStringLiteral("Searches QUERY, in the window that already runs on this display if there is one; "
                     "\"-\" reads the query from the first line of standard input."),
      QStringLiteral("QUERY"));
  const QCommandLineOption clipboard(QStringLiteral("search-clipboard"),
                                     QStringLiteral("Searches the text on the clipboard, in the same way."));
  parser.addOption(search);
  parser.addOption(clipboard);
  for (const std::string_view name : kToolkitValueOptions) {
    QCommandLineOption option(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), QString(),
                              QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const std::string_view name : kToolkitFlags) {
    QCommandLineOption option(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  parser.addPositionalArgument(QStringLiteral("DIR"),
                               QStringLiteral("The folder that holds the dictionary files (optional)."),
                               QStringLiteral("[DIR]"));
  TCommandLine result;
  const auto usage = [&result](const std::string& message) {
    std::fprintf(stderr, KOVALEX_PROGRAM ": %s\nTry '" KOVALEX_PROGRAM " --help' for more information.\n",
                 message.c_str());
    result.ExitStatus = 2;
  };
  if (!parser.parse(arguments)) {
    usage(parser.errorText().toStdString());
  } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    result.ExitStatus = 0;
  } else if (parser.isSet(version)) {
    std::puts(KOVALEX_PROGRAM " (" KOVALEX_PRODUCT ") " KOVALEX_VERSION);
    result.ExitStatus = 0;
  } else if (parser.positionalArguments().size() > 1) {
    usage("at most one DIR may be given");
  } else if (parser.values(search).size() + (parser.isSet(clipboard) ? 1 : 0) > 1) {
    usage("give one of --search and --search-clipboard, once");
  } else {
    try {
      if (parser.isSet(search)) {
        const QString value = parser.value(search);
        const std::string query = handover::QueryFromInput(
            value == QStringLiteral("-") ? QString::fromLocal8Bit(ReadInputLine()).toStdString() : value.toStdString());
        if (query.empty()) throw Exception("the query is empty");
        result.Query = query;
      } else if (parser.isSet(clipboard)) {
        result.Query = std::string();
      }
    } catch (const Exception& e) {
      usage(e.what());
      return result;
    }
    // Made absolute, so that the status line says which folder it is.
    if (const std::vector<std::string> folders = PositionalBytes(argc, argv); folders.size() == 1)
      result.DictionaryFolder = AbsoluteFolder(folders.front());
  }
  return result;
}
