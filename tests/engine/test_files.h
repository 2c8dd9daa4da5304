// Temporary files for tests that read files.
#pragma once

#include <string>

// A file in a fresh temporary directory, removed when the object goes.
class TTempFile {
 public:
  explicit TTempFile(const std::string& content, const std::string& name = "dict.txt");
  ~TTempFile();
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  const std::string& Path() const { return FPath; }

 private:
  std::string FDir;
  std::string FPath;
};
