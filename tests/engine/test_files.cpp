#include "test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TTempFile::TTempFile(const std::string& content, const std::string& name) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kovalex-test-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  FDir = tmpl;
  FPath = FDir + "/" + name;
  std::ofstream out(FPath, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + FPath);
}

TTempFile::~TTempFile() {
  std::error_code ignored;
  std::filesystem::remove_all(FDir, ignored);
}
