// Temporary directories and files for tests that touch the file system.
// Each lives in a fresh directory under the system's temporary directory
// and is removed, with everything in it, when the object goes.
#pragma once

// Tests that use these also create links, folders and permissions.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

  // Creates (or replaces) a file with the given bytes; returns its path.
  std::string Write(const std::string& name, const std::string& content) const;
  static std::string Read(const std::string& path);
  // The names in the directory, in no particular order.
  std::vector<std::string> Names() const;

 private:
  std::string FPath;
};

// One file with the given bytes, alone in a temporary directory.
class TTempFile {
 public:
  explicit TTempFile(const std::string& content, const std::string& name = "dict.txt")
      : FPath(FDir.Write(name, content)) {}
  const std::string& Path() const { return FPath; }

 private:
  TTempDir FDir;
  std::string FPath;
};
