#include "cli/namedfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "cli/lines.h"
#include "cli/selection.h"
#include "sjis/exceptions.h"
#include "sjis/posix_io.h"

bool SearchNamedFile(TSearch& search, const std::string& display, const std::string& path, bool showNames,
                     TLanguage language, TCharset charset, const TFileMessage& message) {
  const auto engine = [&](const std::string& sjis) { message(display, EngineMessage(sjis, language, charset)); };
  const bool standardInput = path == "-";
  int fd = STDIN_FILENO;
  if (!standardInput) {
    fd = posix_io::Open(path, O_RDONLY | O_NOCTTY);
    if (fd < 0) {
      message(display, std::strerror(errno));
      return false;
    }
  }
  struct TClose {
    int Fd;
    ~TClose() {
      if (Fd != STDIN_FILENO) ::close(Fd);
    }
  } close{fd};
  // The reader refuses a directory (and -z's reading fails on it) with the
  // words for EISDIR.
  try {
    return search.Search(display, fd, showNames, !standardInput);
  } catch (const TReadError& e) {
    message(display, std::strerror(e.Error));
  } catch (const EInOutError& e) {
    // A failing call of the engine's reader: the C library's words for its
    // error number, as for kovagrep's own reads.
    if (e.Errno > 0)
      message(display, std::strerror(e.Errno));
    else
      engine(e.Message());
  } catch (const Exception& e) {
    engine(e.Message());
  } catch (const std::bad_alloc&) {
    // A line longer than memory, met by kovagrep's own reading: the
    // engine's message for it.
    engine(ELineTooLong(display, true).Message());
  }
  return false;
}
