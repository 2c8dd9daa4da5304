// Which files a command line names: the operands, and with -r/-R the files
// below the directories among them (in name order), filtered by --include,
// --exclude and --exclude-dir as GNU grep filters them.
#pragma once

#include <functional>
#include <string>

#include "cli/options.h"

class TWalk {
 public:
  // visit(display, path): a file to search ("-" as path: standard input).
  // error(display, errno): a directory that cannot be read.
  using TVisit = std::function<void(const std::string& display, const std::string& path)>;
  using TError = std::function<void(const std::string& display, int error)>;

  TWalk(const TOptions& options, TVisit visit, TError error)
      : FOptions(options), FVisit(std::move(visit)), FError(std::move(error)) {}

  // One operand; implicit is the "." that -r searches when no file is
  // given, whose files are named without a leading "./".
  void Operand(const std::string& name, bool implicit = false);

  // Whether a command-line operand is a directory that the walk will enter
  // (then file names are shown even for one operand).
  bool Enters(const std::string& name) const;

 private:
  void Directory(const std::string& display, const std::string& path, bool implicit);
  bool FileWanted(const std::string& name) const;
  bool DirectoryWanted(const std::string& name) const;

  const TOptions& FOptions;
  TVisit FVisit;
  TError FError;
};
