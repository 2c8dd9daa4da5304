// Which files a command line names: the operands, and with -r/-R the files
// below the directories among them (in name order), as GNU grep chooses
// them: --include, --exclude and --exclude-dir match the base names of the
// files met in the walk and any tail after a "/" of an operand, the last
// --include or --exclude that matches wins, and names are filtered before
// anything is opened; -d and -D skip directories and devices; a directory
// met again below itself is a loop, and an input that is the output is
// refused.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"

// A file as the system knows it, whatever its names.
struct TFileIdentity {
  dev_t Device;
  ino_t Inode;
  bool operator==(const TFileIdentity&) const = default;
};

class TWalk {
 public:
  // visit(display, path): a file to search ("-" as path: standard input).
  // report(display, text, warning): a directory that cannot be read, a
  // dangling link (text: the C library's words for the error), a loop (a
  // warning), an input that is the output (an error).
  using TVisit = std::function<void(const std::string& display, const std::string& path)>;
  using TReport = std::function<void(const std::string& display, const std::string& text, bool warning)>;

  // output: standard output when it is a regular file, which no input may
  // be.  entryInodes: a directory's entries on the output's file system
  // carry the inode numbers that stat gives (so a regular file whose number
  // differs need not be looked at); overlays and user-space file systems
  // may not.
  TWalk(const TOptions& options, TVisit visit, TReport report, std::optional<TFileIdentity> output = std::nullopt,
        bool entryInodes = false)
      : FOptions(options),
        FVisit(std::move(visit)),
        FReport(std::move(report)),
        FOutput(output),
        FEntryInodes(entryInodes) {}

  // One operand; implicit is the "." that -r searches when no file is
  // given, whose files are named without a leading "./".
  void Operand(const std::string& name, bool implicit = false);

  // Whether a command-line operand is a directory that the walk will enter
  // (then file names are shown even for one operand).
  bool Enters(const std::string& name) const;

 private:
  // A directory's entry: its name, and its type and inode as the directory
  // gives them (DT_UNKNOWN when it does not).
  struct TEntry {
    std::string Name;
    unsigned char Type;
    ino_t Inode;
  };
  void Directory(const std::string& display, const std::string& path, bool implicit);
  void Entry(const std::string& display, const std::string& path, const TEntry& entry, bool implicit);
  void File(const std::string& display, const std::string& path, const struct stat& st);
  bool FileWanted(const std::string& name, bool operand) const;
  bool DirectoryWanted(const std::string& name, bool operand) const;

  const TOptions& FOptions;
  TVisit FVisit;
  TReport FReport;
  std::optional<TFileIdentity> FOutput;
  bool FEntryInodes;
  std::vector<TFileIdentity> FAncestors;  // the directories the walk is in
};
