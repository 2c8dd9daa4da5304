#include "core/file_system.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>

namespace file_system {

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MayWrite(const std::string& path, const struct stat& st, int extraAccess) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && access(path.c_str(), W_OK | extraAccess) == 0;
}

std::string PathShownAs(const std::u16string& shown, const std::function<std::u16string(const std::string&)>& decode,
                        const std::function<std::string(const std::u16string&)>& encode) {
  if (shown.empty() || shown[0] != u'/') return "";
  std::string path;
  for (std::size_t start = 1; start <= shown.size();) {
    const std::size_t slash = std::min(shown.find(u'/', start), shown.size());
    const std::u16string component = shown.substr(start, slash - start);
    start = slash + 1;
    if (component.empty()) continue;
    const std::string folder = path.empty() ? "/" : path;
    std::string name = encode(component);
    struct stat st;
    if (lstat((path + "/" + name).c_str(), &st) != 0) {
      DIR* dir = opendir(folder.c_str());
      if (dir == nullptr) return "";
      int matches = 0;
      while (const dirent* entry = readdir(dir)) {
        if (decode(entry->d_name) == component && ++matches == 1) name = entry->d_name;
      }
      closedir(dir);
      if (matches != 1) return "";
    }
    path += "/" + name;
  }
  return path.empty() ? "/" : path;
}

}  // namespace file_system
