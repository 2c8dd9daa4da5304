// Temporary directories and files for tests that touch the file system.
// Each lives in a fresh directory under the system's temporary directory
// and is removed, with everything in it, when the object goes.
#pragma once

// Tests that use these also create links, folders and permissions.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovalex-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTempDir() {
    // Permissions a test took away must not keep the removal from working.
    std::error_code ignored;
    chmod(FPath.c_str(), 0700);
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

  // Creates (or replaces) a file with the given bytes; returns its path.
  std::string Write(const std::string& name, const std::string& content) const {
    const std::string path = *this / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The names in the directory, in no particular order.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath)) names.push_back(entry.path().filename());
    return names;
  }

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
