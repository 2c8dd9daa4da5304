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
#include "core/safe_save.h"
#include "core/settings_table.h"
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

// A save in place that a kill cut short is finished or undone first, under
// the lock that saves take; when that fails, the file is reported as one
// that cannot be read and is never saved over, so that the copy of its old
// content stays for the next start.
void TSettingsSession::Read(const std::string& path) {
  FPath = path;
  {
    const TDirectoryLock lock(path);
    FRecoveryError = safe_save::RecoverInterruptedSave(path);
  }
  FProfile.emplace(path);
  FRead = true;
  FReadError = FRecoveryError != 0 ? FRecoveryError : FProfile->ReadError();
  FRememberedFolder = RememberedDictionaryFolder(*FProfile);
}

void TSettingsSession::Load(TSettingsValues& values) {
  if (!FProfile) return;
  std::size_t rowsRead = 0;
  // Kept whichever way loading ends: the texts of the keys, and which keys
  // it never got to.
  const auto keepTexts = [&] {
    const std::vector<TSettingRow>& rows = SettingRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      TKeyName name{std::string(rows[i].Section), std::string(rows[i].Key)};
      if (std::optional<std::string> text = FProfile->ReadString(name.first, name.second))
        FTextsAtStart[name] = std::move(*text);
      if (i >= rowsRead) FUnread.insert(std::move(name));
    }
    FProfile.reset();
  };
  try {
    LoadSettings(*FProfile, values, &rowsRead);
  } catch (...) {
    keepTexts();
    throw;
  }
  keepTexts();
  if (FReadError != 0) throw Exception(file_error::Message(encoding::FileNameToSjis(FPath), FReadError));
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
//  - a key that loading never got to (it stopped at a bad value before it)
//    and that this run did not change keeps the file's text: the window
//    showed a default for it, not the file's value;
//  - every other key gets this run's value, as a single run has always
//    written every key (missing keys are added, numbers written in their
//    plain decimal form).
// A single run thus writes what SaveSettings writes, except that a font name
// it never changed is kept exactly.  A file whose content would not change
// is not written at all.  Runs that end at the same moment take turns (a
// lock on the file's directory), so none writes over a file that another
// has read but not yet written.
//
// The file is read once at the start; of that reading only the texts of the
// settings' keys are kept, so the run holds nothing of a large file after
// its start.
//
// A file that exists but cannot be read (no permission, a FIFO, a directory)
// is reported once, by Load, after the defaults have been applied; it is
// never replaced.  At the end Save reads it again: when it still cannot be
// read, nothing is written and nothing more is said; when it was readable at
// the start and is not any more, Save reports that instead of writing.
void TSettingsSession::Save(const std::string& path, const TSettingsValues& values) {
  if (FRecoveryError != 0) return;  // reported at the start
  const TDirectoryLock lock(path);
  TProfile now(path);
  if (now.ReadError() != 0) {
    if (FRead && FReadError != 0) return;  // reported at the start
    ThrowCannotRead(now);
  }
  // The texts of the values as loaded, by section and key (a key may be
  // written for some values only).
  std::map<TKeyName, std::string> loaded;
  if (FLoadedValues) {
    for (TSettingText& t : SettingTexts(*FLoadedValues)) loaded[{t.Section, t.Key}] = std::move(t.Value);
  }
  for (const TSettingText& t : SettingTexts(values)) {
    const TKeyName name{t.Section, t.Key};
    const auto before = loaded.find(name);
    const bool changed = before == loaded.end() || t.Value != before->second;
    if (!changed) {
      const std::optional<std::string> current = now.ReadString(t.Section, t.Key);
      const auto start = FTextsAtStart.find(name);
      const std::optional<std::string> atStart =
          start == FTextsAtStart.end() ? std::nullopt : std::optional<std::string>(start->second);
      if (current && (current != atStart || t.IsString || FUnread.contains(name))) continue;
    }
    now.WriteString(t.Section, t.Key, t.Value);
  }
  if (now.Modified()) now.Save();
}

}  // namespace settings
