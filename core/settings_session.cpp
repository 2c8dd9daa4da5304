#include "core/settings_session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <thread>
#include <utility>
#include <vector>

#include "core/file_error.h"
#include "core/file_system.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace settings {
namespace {

[[noreturn]] void ThrowCannotRead(const TProfile& profile) {
  throw Exception(file_error::Message(encoding::FileNameToSjis(profile.Path()), profile.ReadError()));
}

// Runs that end together (a desktop session that ends sends every one its
// signal at once) take turns at reading, merging and writing: each holds a
// lock on the file's directory meanwhile.  A lock that stays taken for two
// seconds is some other program's: the save goes ahead without it.
class TDirectoryLock {
 public:
  explicit TDirectoryLock(const std::string& path) {
    FFd = open(file_system::ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int attempt = 0; FFd >= 0 && attempt < 200; ++attempt) {
      if (flock(FFd, LOCK_EX | LOCK_NB) == 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~TDirectoryLock() {
    if (FFd >= 0) close(FFd);  // releases the lock
  }
  TDirectoryLock(const TDirectoryLock&) = delete;
  TDirectoryLock& operator=(const TDirectoryLock&) = delete;

 private:
  int FFd = -1;
};

}  // namespace

void TSettingsSession::Load(const std::string& path, TSettingsValues& values) {
  FLoaded.emplace(path);
  LoadSettings(*FLoaded, values);
  if (FLoaded->ReadError() != 0) ThrowCannotRead(*FLoaded);
}

// Several windows may run at once, each with the file as it was at its own
// start.  At the end a run reads the file again and writes over what it holds
// at that moment, key by key:
//  - a key whose value this run changed gets this run's value;
//  - a key that another run has written since this run loaded the file (its
//    text differs from the one loaded) keeps the other run's value;
//  - a text the user chose (the font name) that this run did not change
//    stays byte for byte as the file has it, also when the window could not
//    show all of its bytes;
//  - every other key gets this run's value, as a single run has always
//    written every key (missing keys are added, numbers written in their
//    plain decimal form).
// A single run thus writes what SaveSettings writes, except that a font name
// it never changed is kept exactly.  Runs that end at the same moment take
// turns (a lock on the file's directory), so none writes over a file that
// another has read but not yet written.
//
// A file that exists but cannot be read (no permission, a FIFO, a directory)
// is reported once, by Load, after the defaults have been applied; it is
// never replaced.  At the end Save reads it again: when it still cannot be
// read, nothing is written and nothing more is said; when it was readable at
// the start and is not any more, Save reports that instead of writing.
void TSettingsSession::Save(const std::string& path, const TSettingsValues& values) {
  const TDirectoryLock lock(path);
  TProfile now(path);
  if (now.ReadError() != 0) {
    if (FLoaded && FLoaded->ReadError() != 0) return;  // reported at the start
    ThrowCannotRead(now);
  }
  // The texts of the values as loaded, by section and key (a key may be
  // written for some values only).
  std::map<std::pair<std::string, std::string>, std::string> loaded;
  if (FLoadedValues) {
    for (TSettingText& t : SettingTexts(*FLoadedValues)) loaded[{t.Section, t.Key}] = std::move(t.Value);
  }
  for (const TSettingText& t : SettingTexts(values)) {
    const auto before = loaded.find({t.Section, t.Key});
    const bool changed = before == loaded.end() || t.Value != before->second;
    if (!changed) {
      const std::optional<std::string> current = now.ReadString(t.Section, t.Key);
      const std::optional<std::string> atStart = FLoaded ? FLoaded->ReadString(t.Section, t.Key) : std::nullopt;
      if (current && (current != atStart || t.IsString)) continue;
    }
    now.WriteString(t.Section, t.Key, t.Value);
  }
  now.Save();
}

}  // namespace settings
