#include "txtfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine_messages.h"
#include "exceptions.h"
#include "temp_dir.h"

namespace {

constexpr std::size_t kBlock = TTxtFile::BufSize;

// Reads with GetChar until the main cursor raises EEndOfFile; returns every
// code read before that.
std::vector<TCharCode> ReadAllChars(TTxtFile& file) {
  std::vector<TCharCode> codes;
  try {
    for (;;) codes.push_back(file.GetChar());
  } catch (const EEndOfFile&) {
  }
  return codes;
}

std::vector<TCharCode> ReadAheadChars(TTxtFile& file, int count) {
  std::vector<TCharCode> codes;
  for (int i = 0; i < count; ++i) codes.push_back(file.GetAheadChar());
  return codes;
}

// Every line of the file as the grep reports lines: GetChar onto the line,
// GetLine, and on until the end.
std::vector<std::pair<std::string, int>> ReadAllLines(TTxtFile& file) {
  std::vector<std::pair<std::string, int>> lines;
  LineInfo_t info;
  try {
    for (;;) {
      file.GetChar();
      file.GetLine(info);
      lines.emplace_back(info.Line, info.LineNo);
    }
  } catch (const EEndOfFile&) {
  }
  return lines;
}

using Lines = std::vector<std::pair<std::string, int>>;

// The reader's stream worked out on the whole file at once: a line feed
// before the first line, zero bytes as spaces, CR LF and lone CR as line
// feeds, a line feed at the end when the file lacks one.  The cursors walk
// it the way the reader documents, with no blocks involved.
class TModel {
 public:
  explicit TModel(const std::string& raw) {
    S = "\n";
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const char c = raw[i];
      if (c == '\0') {
        S += ' ';
      } else if (c == '\r') {
        if (i + 1 == raw.size() || raw[i + 1] != '\n') S += '\n';
      } else {
        S += c;
      }
    }
    if (S.back() != '\n') S += '\n';
  }

  // nullopt where the reader raises EEndOfFile.
  std::optional<TCharCode> GetChar() {
    unsigned char b1 = 0;
    if (!Byte(b1)) return std::nullopt;
    TCharCode code = b1;
    if (IsDBCSLeadByte(b1)) {
      unsigned char b2 = 0;
      if (!Byte(b2)) return std::nullopt;
      code = static_cast<TCharCode>(b1 << 8 | b2);
    }
    Ahead = Cursor;
    return code;
  }

  TCharCode GetAheadChar() {
    if (Ahead >= S.size()) return 0;
    const unsigned char b1 = static_cast<unsigned char>(S[Ahead++]);
    if (!IsDBCSLeadByte(b1)) return b1;
    const unsigned char b2 = Ahead < S.size() ? static_cast<unsigned char>(S[Ahead++]) : 0;
    return static_cast<TCharCode>(b1 << 8 | b2);
  }

  std::optional<std::pair<std::string, int>> GetLine() {
    bool moved = false;
    while (Cursor >= S.size() || S[Cursor] != '\n') {
      unsigned char b = 0;
      if (!Byte(b)) return std::nullopt;
      moved = true;
    }
    if (moved) Ahead = Cursor;
    return std::make_pair(S.substr(LineStart, Cursor - LineStart), LineCount);
  }

  int LineCount = 0;

 private:
  // Consumes one byte; false when that byte was the last one (or there was
  // none), which is where the reader raises EEndOfFile.
  bool Byte(unsigned char& b) {
    if (Cursor >= S.size()) return false;
    b = static_cast<unsigned char>(S[Cursor++]);
    if (Cursor == S.size()) return false;
    if (b == '\n') {
      LineStart = Cursor;
      ++LineCount;
    }
    return true;
  }

  std::string S;
  std::size_t Cursor = 0;
  std::size_t LineStart = 0;
  std::size_t Ahead = 0;
};

// A reader with a counting message pump and a cancel flag owned by the test.
struct TCountingReader {
  explicit TCountingReader(const std::string& path) : File(path, &Cancel, [this] { ++Pumps; }) {}
  bool Cancel = false;
  int Pumps = 0;
  TTxtFile File;
};

}  // namespace

// ---------------------------------------------------------------------------
// The stream of characters and lines

TEST(TxtFileStream, FirstCharIsLineFeedBeforeLineOne) {
  TTempFile f("first\nsecond\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.LineCount(), 1);
  LineInfo_t info;
  file.GetLine(info);
  EXPECT_EQ(info.Line, "first");
  EXPECT_EQ(info.LineNo, 1);
  // GetLine leaves the main cursor on the line feed that ends the line.
  EXPECT_EQ(file.GetChar(), '\n');
  file.GetLine(info);
  EXPECT_EQ(info.Line, "second");
  EXPECT_EQ(info.LineNo, 2);
}

TEST(TxtFileStream, MainCursorRaisesEndOfFileOnLastLineFeed) {
  TTempFile f("ab\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.GetChar(), 'a');
  EXPECT_EQ(file.GetChar(), 'b');
  EXPECT_THROW(file.GetChar(), EEndOfFile);
  EXPECT_THROW(file.GetChar(), EEndOfFile);
  LineInfo_t info;
  EXPECT_THROW(file.GetLine(info), EEndOfFile);
}

TEST(TxtFileStream, FileWithoutFinalLineFeedGetsOne) {
  TTempFile f("one\ntwo");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"one", 1}, {"two", 2}}));

  TTxtFile again(f.Path(), nullptr);
  const std::vector<TCharCode> expected{'\n', 'o', 'n', 'e', '\n', 't', 'w', 'o'};
  EXPECT_EQ(ReadAllChars(again), expected);
}

TEST(TxtFileStream, CrLfAndLoneCrAreLineEnds) {
  TTempFile f("a\r\nb\rc\r\rd\n\re\r");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"a", 1}, {"b", 2}, {"c", 3}, {"", 4}, {"d", 5}, {"", 6}, {"e", 7}}));
}

TEST(TxtFileStream, CrAtEndOfFileIsOneLineEnd) {
  TTempFile f("x\r");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllChars(file), (std::vector<TCharCode>{'\n', 'x'}));
  EXPECT_EQ(file.LineCount(), 1);

  TTempFile afterEmpty("x\n\r");
  TTxtFile lines(afterEmpty.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(lines), (Lines{{"x", 1}, {"", 2}}));
}

TEST(TxtFileStream, ZeroByteReadsAsSpace) {
  TTempFile f(std::string("ab\0cd\n\0\n", 8));
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"ab cd", 1}, {" ", 2}}));

  TTxtFile ahead(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(ahead, 5), (std::vector<TCharCode>{'\n', 'a', 'b', ' ', 'c'}));
}

TEST(TxtFileStream, DoubleByteCharacterIsOneCode) {
  // "あ" (82 A0) and a pair whose trail byte is a backslash-range ASCII byte.
  TTempFile f("a\x82\xa0\x95\\b\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllChars(file), (std::vector<TCharCode>{'\n', 'a', 0x82A0, 0x955C, 'b'}));
  TTxtFile ahead(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(ahead, 7), (std::vector<TCharCode>{'\n', 'a', 0x82A0, 0x955C, 'b', '\n', 0}));
}

TEST(TxtFileStream, LeadByteAtEndPairsWithAppendedLineFeed) {
  TTempFile f("ab\x82");
  TTxtFile ahead(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(ahead, 6), (std::vector<TCharCode>{'\n', 'a', 'b', 0x820A, 0, 0}));

  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.GetChar(), 'a');
  EXPECT_EQ(file.GetChar(), 'b');
  EXPECT_THROW(file.GetChar(), EEndOfFile);
}

TEST(TxtFileStream, LeadByteBeforeLineFeedPairsWithItAndCountsTheLine) {
  TTempFile f("\x82\nx\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.GetChar(), 0x820A);
  EXPECT_EQ(file.LineCount(), 2);
  LineInfo_t info;
  file.GetLine(info);
  EXPECT_EQ(info.Line, "x");
  EXPECT_EQ(info.LineNo, 2);
}

TEST(TxtFileStream, CrAfterLeadByteReadsAsLineFeedForBothCursors) {
  TTempFile f("\x82\r\nx\x83\ry\n");
  TTxtFile ahead(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(ahead, 6), (std::vector<TCharCode>{'\n', 0x820A, 'x', 0x830A, 'y', '\n'}));
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllChars(file), (std::vector<TCharCode>{'\n', 0x820A, 'x', 0x830A, 'y'}));
}

TEST(TxtFileStream, LoneCrMetByLookAheadIsOneLineFeed) {
  TTempFile f("a\rb\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(file, 6), (std::vector<TCharCode>{'\n', 'a', '\n', 'b', '\n', 0}));
  // The main cursor, coming after, reads the same stream.
  EXPECT_EQ(ReadAllChars(file), (std::vector<TCharCode>{'\n', 'a', '\n', 'b'}));
}

TEST(TxtFileStream, GetCharResetsLookAheadToMainCursor) {
  TTempFile f("abc\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAheadChars(file, 3), (std::vector<TCharCode>{'\n', 'a', 'b'}));
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.GetAheadChar(), 'a');
  EXPECT_EQ(file.GetChar(), 'a');
  EXPECT_EQ(file.GetAheadChar(), 'b');
}

TEST(TxtFileStream, LookAheadReturnsZeroForeverAfterEnd) {
  TTempFile f("ab\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(ReadAheadChars(file, 6), (std::vector<TCharCode>{'a', 'b', '\n', 0, 0, 0}));
  // The main cursor has not moved meanwhile.
  EXPECT_EQ(file.GetChar(), 'a');
  EXPECT_EQ(file.GetAheadChar(), 'b');
}

// ---------------------------------------------------------------------------
// Block boundaries

TEST(TxtFileBlocks, CrLfSplitAcrossBlocksIsOneLineEnd) {
  const std::string first(kBlock - 1, 'a');
  TTempFile f(first + "\r\nnext\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{first, 1}, {"next", 2}}));

  TTxtFile ahead(f.Path(), nullptr);
  ahead.GetChar();
  for (std::size_t i = 0; i + 1 < kBlock; ++i) ASSERT_EQ(ahead.GetAheadChar(), 'a');
  EXPECT_EQ(ReadAheadChars(ahead, 3), (std::vector<TCharCode>{'\n', 'n', 'e'}));
}

TEST(TxtFileBlocks, LoneCrAtEndOfBlockIsALineEnd) {
  const std::string first(kBlock - 1, 'a');
  TTempFile f(first + "\rb\r");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{first, 1}, {"b", 2}}));

  TTxtFile ahead(f.Path(), nullptr);
  ahead.GetChar();
  for (std::size_t i = 0; i + 1 < kBlock; ++i) ASSERT_EQ(ahead.GetAheadChar(), 'a');
  EXPECT_EQ(ReadAheadChars(ahead, 4), (std::vector<TCharCode>{'\n', 'b', '\n', 0}));
}

TEST(TxtFileBlocks, CrAsLastByteOfFileOfOneBlock) {
  const std::string first(kBlock - 1, 'a');
  TTempFile f(first + "\r");
  TCountingReader r(f.Path());
  const std::vector<TCharCode> codes = ReadAllChars(r.File);
  EXPECT_EQ(codes.size(), kBlock);
  EXPECT_EQ(r.File.LineCount(), 1);
}

TEST(TxtFileBlocks, DoubleByteSplitAcrossBlocksIsOneCode) {
  const std::string first(kBlock - 1, 'a');
  TTempFile f(first + "\x88\x9fz\n");
  TTxtFile file(f.Path(), nullptr);
  std::vector<TCharCode> codes = ReadAllChars(file);
  ASSERT_EQ(codes.size(), kBlock + 2);
  EXPECT_EQ(codes[kBlock - 1], 'a');
  EXPECT_EQ(codes[kBlock], 0x889F);
  EXPECT_EQ(codes[kBlock + 1], 'z');

  TTxtFile ahead(f.Path(), nullptr);
  for (std::size_t i = 0; i < kBlock; ++i) ahead.GetAheadChar();
  EXPECT_EQ(ReadAheadChars(ahead, 3), (std::vector<TCharCode>{0x889F, 'z', '\n'}));
}

TEST(TxtFileBlocks, FileOfExactlyOneBlockIsOneBlock) {
  const std::string line(kBlock - 1, 'x');
  TTempFile f(line + "\n");
  TCountingReader r(f.Path());
  const std::vector<TCharCode> codes = ReadAllChars(r.File);
  // The line feed before line 1 and the line; the file's own line feed is
  // the last byte (none is appended), taken as EEndOfFile is raised.  The
  // read that finds the end brings no block: no message processing.
  EXPECT_EQ(codes.size(), kBlock);
  EXPECT_EQ(r.Pumps, 1);
}

TEST(TxtFileBlocks, LineLongerThanBlockIsReturnedWhole) {
  const std::string longLine(kBlock + 5000, 'L');
  TTempFile f("short\n" + longLine + "\nlast\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"short", 1}, {longLine, 2}, {"last", 3}}));
}

TEST(TxtFileBlocks, LineSpanningFourBlocksIsReturnedWhole) {
  std::string longLine;
  for (std::size_t i = 0; longLine.size() < 3 * kBlock + 777; ++i) longLine += static_cast<char>('a' + i % 26);
  TTempFile f("1\r\n2\r\n" + longLine + "\r\n" + "tail");

  // GetLine walks the long line itself.
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"1", 1}, {"2", 2}, {longLine, 3}, {"tail", 4}}));

  // GetChar walks it, GetLine is called on its last character.
  TTxtFile chars(f.Path(), nullptr);
  for (int i = 0; i < 5; ++i) chars.GetChar();  // up to the line feed ending line 2
  for (std::size_t i = 0; i < longLine.size(); ++i) ASSERT_EQ(chars.GetChar(), static_cast<unsigned char>(longLine[i]));
  LineInfo_t info;
  chars.GetLine(info);
  EXPECT_EQ(info.Line, longLine);
  EXPECT_EQ(info.LineNo, 3);
}

TEST(TxtFileBlocks, LookAheadRunningBlocksAheadKeepsCurrentLine) {
  const std::string longLine(2 * kBlock + 10, 'q');
  TTempFile f("ab\n" + longLine + "\nend\n");
  TTxtFile file(f.Path(), nullptr);
  file.GetChar();
  EXPECT_EQ(file.GetChar(), 'a');
  // Three block changes through the look-ahead while the main cursor stays
  // on line 1.
  const std::vector<TCharCode> ahead = ReadAheadChars(file, static_cast<int>(longLine.size()) + 6);
  EXPECT_EQ(ahead.back(), 'd');
  EXPECT_EQ(file.GetChar(), 'b');
  LineInfo_t info;
  file.GetLine(info);
  EXPECT_EQ(info.Line, "ab");
  EXPECT_EQ(info.LineNo, 1);
  EXPECT_EQ(ReadAllLines(file), (Lines{{longLine, 2}, {"end", 3}}));
}

TEST(TxtFileBlocks, CarriedBytesStayBoundedByLongestLine) {
  std::string content;
  for (int i = 0; i < 60000; ++i) content += "line " + std::to_string(i) + "\n";  // several blocks
  const std::string longLine(kBlock + kBlock / 2, 'L');
  content += longLine + "\n";
  for (int i = 0; i < 30000; ++i) content += "more " + std::to_string(i) + "\n";
  TTempFile f(content);
  TTxtFile file(f.Path(), nullptr);
  LineInfo_t info;
  std::size_t most = 0;
  try {
    for (;;) {
      file.GetChar();
      file.GetLine(info);
      most = std::max(most, file.CarriedBytes());
      if (info.LineNo == 30000 || info.LineNo == 70000) {
        EXPECT_LT(file.CarriedBytes(), 100u) << info.LineNo;
      }
    }
  } catch (const EEndOfFile&) {
  }
  EXPECT_EQ(info.LineNo, 90001);
  EXPECT_GE(most, longLine.size() - kBlock);
  EXPECT_LE(most, longLine.size() + 1);
}

namespace {

// The codes the main cursor reads from a pipe that a second thread fills
// with content.
std::vector<TCharCode> ReadCharsThroughFifo(const std::string& content) {
  TTempFile dir("");
  const std::string fifo = std::filesystem::path(dir.Path()).parent_path() / "pipe";
  if (mkfifo(fifo.c_str(), 0600) != 0) {
    ADD_FAILURE() << "mkfifo failed";
    return {};
  }
  // A reader that stops early must not kill the test through SIGPIPE.
  struct sigaction ignore = {}, saved = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &saved);
  std::thread writer([&] {
    // Waits (up to about ten seconds) for the reader to open the pipe.
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 10000; ++tries) {
      fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0) return;
    fcntl(fd, F_SETFL, 0);
    std::size_t done = 0;
    while (done < content.size()) {
      const ssize_t n = write(fd, content.data() + done, std::min<std::size_t>(4096, content.size() - done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fd);
  });
  std::vector<TCharCode> codes;
  {
    TTxtFile file(fifo, nullptr);
    codes = ReadAllChars(file);
  }
  writer.join();
  sigaction(SIGPIPE, &saved, nullptr);
  return codes;
}

std::vector<TCharCode> ModelChars(const std::string& content) {
  TModel model(content);
  std::vector<TCharCode> codes;
  while (auto c = model.GetChar()) codes.push_back(*c);
  return codes;
}

}  // namespace

// A pipe has no size; only a read that returns nothing ends it.
TEST(TxtFileBlocks, FifoIsReadToItsEnd) {
  std::string content;
  for (int i = 0; content.size() < 2 * kBlock + 300; ++i) content += "entry " + std::to_string(i) + "\r\n";
  content += "no final line feed";
  EXPECT_EQ(ReadCharsThroughFifo(content), ModelChars(content));

  // Two whole blocks: the end shows only after the last byte, here a CR held
  // back for a line feed that never comes.
  const std::string twoBlocks = std::string(2 * kBlock - 2, 'b') + "x\r";
  EXPECT_EQ(ReadCharsThroughFifo(twoBlocks), ModelChars(twoBlocks));
  const std::string twoBlocksLf = std::string(2 * kBlock - 1, 'c') + "\n";
  EXPECT_EQ(ReadCharsThroughFifo(twoBlocksLf), ModelChars(twoBlocksLf));
}

// The end is where a read returns nothing: bytes appended before the reader
// gets there are read (the size at open does not cut them, and no line is
// closed where a block ended), bytes appended after it has found the end
// are not.
TEST(TxtFileBlocks, FileGrownDuringTheReadEndsAtTheOldOrTheNewEnd) {
  std::string first;
  for (int i = 0; first.size() < kBlock + kBlock / 2; ++i) first += "entry " + std::to_string(i) + "\n";
  const std::string appended = "appended " + std::string(kBlock, 'x') + "\nlast\n";
  for (const int growAtPump : {1, 2}) {
    TTempFile f(first);
    int pumps = 0;
    TTxtFile file(f.Path(), nullptr, [&] {
      if (++pumps == growAtPump) {
        const int fd = open(f.Path().c_str(), O_WRONLY | O_APPEND);
        ASSERT_EQ(write(fd, appended.data(), appended.size()), static_cast<ssize_t>(appended.size()));
        close(fd);
      }
    });
    const std::vector<TCharCode> codes = ReadAllChars(file);
    EXPECT_EQ(codes, ModelChars(growAtPump == 1 ? first + appended : first)) << growAtPump;
  }
}

// A stream that goes on where another left off numbers its lines on, past
// 2^31 and 2^32 without wrapping.
TEST(TxtFileStream, LineNumbersAre64Bit) {
  TTempFile f("a\nb\nc\n");
  TTxtFile file(f.Path(), nullptr, {}, TReadOptions{.LinesBefore = (std::int64_t{1} << 32) - 2});
  LineInfo_t info;
  std::vector<std::int64_t> numbers;
  try {
    for (;;) {
      file.GetChar();
      file.GetLine(info);
      numbers.push_back(info.LineNo);
    }
  } catch (const EEndOfFile&) {
  }
  EXPECT_EQ(numbers, (std::vector<std::int64_t>{4294967295, 4294967296, 4294967297}));
}

// ---------------------------------------------------------------------------
// Opening

TEST(TxtFileOpen, EmptyFileRaisesEndOfFileBeforeMessagesAndCancel) {
  TTempFile f("");
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(f.Path(), &cancel, [&] { ++pumps; }), EEndOfFile);
  EXPECT_EQ(pumps, 0);
}

TEST(TxtFileOpen, MissingFileRaisesFileNotFound) {
  TTempFile f("x");
  const std::string missing = f.Path() + ".missing";
  try {
    TTxtFile file(missing, nullptr);
    FAIL() << "no exception";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message(), std::string(sjis_text::kMsgFileNotFound));
  }
}

TEST(TxtFileOpen, DirectoryRaisesFileNotFound) {
  TTempFile f("x");
  const std::string dir = std::filesystem::path(f.Path()).parent_path();
  try {
    TTxtFile file(dir, nullptr);
    FAIL() << "no exception";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message(), std::string(sjis_text::kMsgIsDirectory));
  }
}

// With RegularFilesOnly a FIFO without a writer is refused at once instead
// of waiting for one; a directory keeps its own message, a regular file and
// its lines are read as always.  Without it the reader takes an open pipe.
TEST(TxtFileOpen, RegularFilesOnlyRefusesAnythingElseAtOnce) {
  TTempFile f("line\n");
  const std::filesystem::path dir = std::filesystem::path(f.Path()).parent_path();
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const TReadOptions regular{.RegularFilesOnly = true};
  const std::vector<std::pair<std::string, std::string_view>> refused{{fifo, sjis_text::kMsgNotRegularFile},
                                                                      {"/dev/null", sjis_text::kMsgNotRegularFile},
                                                                      {dir, sjis_text::kMsgIsDirectory}};
  for (const auto& [path, message] : refused) {
    try {
      TTxtFile file(path, nullptr, {}, regular);
      ADD_FAILURE() << path << ": no exception";
    } catch (const EFileNotFound& e) {
      EXPECT_EQ(e.Message(), std::string(message)) << path;
    }
  }
  TTxtFile file(f.Path(), nullptr, {}, regular);
  EXPECT_EQ(ReadAllLines(file), (Lines{{"line", 1}}));

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "p\nq", 3), 3);
  close(fds[1]);
  {
    TTxtFile piped(fds[0], "(standard input)", nullptr, {}, TReadOptions{});
    EXPECT_EQ(ReadAllLines(piped), (Lines{{"p", 1}, {"q", 2}}));
  }
  EXPECT_NE(fcntl(fds[0], F_GETFD), -1) << "the caller's descriptor was closed";
  close(fds[0]);
}

// A line over the bound ends the read with the reader's own error, naming
// the file, whichever cursor meets it.
TEST(TxtFileOpen, LineOverTheBoundRaisesLineTooLong) {
  TTempFile f("short\n" + std::string(3 * kBlock, 'L') + "\nshort\n");
  for (const bool ahead : {false, true}) {
    TTxtFile file(f.Path(), nullptr, {}, TReadOptions{.MaxLineBytes = 2 * kBlock});
    try {
      for (std::size_t i = 0; i < 5 * kBlock; ++i) {
        if (ahead)
          file.GetAheadChar();
        else
          file.GetChar();
      }
      ADD_FAILURE() << "no exception, ahead " << ahead;
    } catch (const ELineTooLong& e) {
      EXPECT_EQ(e.FileName, f.Path());
      EXPECT_EQ(e.Message(), std::string(sjis_text::kMsgLineTooLong));
    }
  }
  TTxtFile unbounded(f.Path(), nullptr, {}, TReadOptions{.MaxLineBytes = 4 * kBlock});
  EXPECT_EQ(ReadAllLines(unbounded).size(), 3u);
}

TEST(TxtFileOpen, OtherErrorsCarryAsciiText) {
  TTempFile f("x");
  // A path through a regular file: not a directory.
  try {
    TTxtFile file(f.Path() + "/inner", nullptr);
    FAIL() << "no exception";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message(), "Not a directory");
  }
}

// ---------------------------------------------------------------------------
// Messages and cancellation

TEST(TxtFileCancel, FlagSetBeforeCreateRaisesAfterFirstBlock) {
  TTempFile f("abc\n");
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(f.Path(), &cancel, [&] { ++pumps; }), ECancelRequest);
  EXPECT_EQ(pumps, 1);
}

TEST(TxtFileCancel, MessagesOncePerBlockAndPerLine) {
  std::string content;
  while (content.size() < 2 * kBlock + 10) content += "0123456789abcdefghi\n";  // three blocks
  TTempFile f(content);
  TCountingReader r(f.Path());
  EXPECT_EQ(r.Pumps, 1);
  const Lines lines = ReadAllLines(r.File);
  EXPECT_EQ(r.Pumps, 3 + static_cast<int>(lines.size()));
}

TEST(TxtFileCancel, FlagNoticedAtNextGetLine) {
  TTempFile f("a\nb\n");
  TCountingReader r(f.Path());
  LineInfo_t info;
  r.File.GetChar();
  r.File.GetLine(info);
  r.Cancel = true;
  EXPECT_THROW(r.File.GetLine(info), ECancelRequest);
  EXPECT_EQ(r.Pumps, 3);
}

TEST(TxtFileCancel, FlagSetByMessagePumpIsNoticedRightAfter) {
  TTempFile f("a\nb\n");
  bool cancel = false;
  int pumps = 0;
  TTxtFile file(f.Path(), &cancel, [&] {
    if (++pumps == 2) cancel = true;
  });
  LineInfo_t info;
  file.GetChar();
  EXPECT_THROW(file.GetLine(info), ECancelRequest);
}

TEST(TxtFileCancel, FlagNoticedAtNextBlockReadOfMainCursor) {
  std::string content;
  while (content.size() < 2 * kBlock) content += "abcdefghi\n";
  TTempFile f(content);
  TCountingReader r(f.Path());
  r.Cancel = true;
  std::size_t read = 0;
  try {
    for (;;) {
      r.File.GetChar();
      ++read;
    }
  } catch (const ECancelRequest&) {
  }
  // The line feed before line 1 and all but the last byte of block 1; taking
  // that byte reads block 2.
  EXPECT_EQ(read, kBlock);
  EXPECT_EQ(r.Pumps, 2);
}

TEST(TxtFileCancel, FlagNoticedAtNextBlockReadOfLookAhead) {
  std::string content;
  while (content.size() < 2 * kBlock) content += "abcdefghi\n";
  TTempFile f(content);
  TCountingReader r(f.Path());
  r.Cancel = true;
  std::size_t read = 0;
  try {
    for (;;) {
      r.File.GetAheadChar();
      ++read;
    }
  } catch (const ECancelRequest&) {
  }
  EXPECT_EQ(read, kBlock);
}

// ---------------------------------------------------------------------------
// Generated files against the model

namespace {

// Mixed text: ASCII runs, every kind of line end, zero bytes, double-byte
// characters (some with CR, LF or zero as trail byte), long lines, and chosen
// byte pairs on the block boundaries.
std::string GenerateFile(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::size_t target = 1 + rng() % (3 * kBlock + kBlock / 2);
  std::string s;
  while (s.size() < target) {
    const int k = pick(100);
    if (k < 40) {
      const int n = 1 + pick(40);
      for (int i = 0; i < n; ++i) s += static_cast<char>('a' + pick(26));
    } else if (k < 52) {
      s += '\n';
    } else if (k < 62) {
      s += "\r\n";
    } else if (k < 67) {
      s += '\r';
    } else if (k < 70) {
      s += '\0';
    } else if (k < 92) {
      const int lead = pick(2) ? 0x81 + pick(0x1F) : 0xE0 + pick(0x1D);
      s += static_cast<char>(lead);
      const int t = pick(20);
      s += t == 0 ? '\r' : t == 1 ? '\n' : t == 2 ? '\0' : static_cast<char>(0x40 + pick(0xBD));
    } else if (k < 93) {
      s += std::string(kBlock / 2 + rng() % (2 * kBlock), 'L');
    } else {
      s += ' ';
    }
  }
  static const char kSeams[][2] = {{'\r', '\n'}, {'\r', 'x'},    {'\x82', '\xa0'}, {'\r', '\r'},
                                   {'\0', '\r'}, {'\x82', '\r'}, {'\n', '\r'},     {'\x82', '\n'}};
  for (std::size_t at = kBlock - 1; at + 1 < s.size(); at += kBlock) {
    const int c = pick(9);
    if (c == 8) continue;  // leave the generated bytes
    s[at] = kSeams[c][0];
    s[at + 1] = kSeams[c][1];
  }
  switch (pick(5)) {
    case 0:
      s += '\r';
      break;
    case 1:
      s += '\x88';
      break;
    case 2:
      s += '\n';
      break;
    default:
      break;
  }
  return s;
}

}  // namespace

TEST(TxtFileModel, GetCharAndLineCountMatchModel) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    const std::string content = GenerateFile(rng);
    TTempFile f(content);
    TTxtFile file(f.Path(), nullptr);
    TModel model(content);
    for (std::size_t n = 0;; ++n) {
      const std::optional<TCharCode> expected = model.GetChar();
      if (!expected) {
        EXPECT_THROW(file.GetChar(), EEndOfFile) << "seed " << seed;
        break;
      }
      ASSERT_EQ(file.GetChar(), *expected) << "seed " << seed << " char " << n;
      ASSERT_EQ(file.LineCount(), model.LineCount) << "seed " << seed << " char " << n;
    }
  }
}

TEST(TxtFileModel, LinesMatchModel) {
  for (unsigned seed = 100; seed <= 112; ++seed) {
    std::mt19937 rng(seed);
    const std::string content = GenerateFile(rng);
    TTempFile f(content);
    TTxtFile file(f.Path(), nullptr);
    TModel model(content);
    LineInfo_t info;
    for (;;) {
      const std::optional<TCharCode> c = model.GetChar();
      if (!c) {
        EXPECT_THROW(file.GetChar(), EEndOfFile);
        break;
      }
      ASSERT_EQ(file.GetChar(), *c) << "seed " << seed;
      const auto line = model.GetLine();
      ASSERT_TRUE(line.has_value());
      file.GetLine(info);
      ASSERT_EQ(info.Line, line->first) << "seed " << seed << " line " << line->second;
      ASSERT_EQ(info.LineNo, line->second) << "seed " << seed;
    }
  }
}

TEST(TxtFileModel, MixedCursorsMatchModel) {
  for (unsigned seed = 200; seed <= 230; ++seed) {
    std::mt19937 rng(seed);
    const std::string content = GenerateFile(rng);
    TTempFile f(content);
    TTxtFile file(f.Path(), nullptr);
    TModel model(content);
    LineInfo_t info;
    bool ended = false;
    for (int op = 0; !ended && op < 400000; ++op) {
      const unsigned k = rng() % 1000;
      if (k < 900) {
        const std::optional<TCharCode> c = model.GetChar();
        if (!c) {
          EXPECT_THROW(file.GetChar(), EEndOfFile);
          ended = true;
        } else {
          ASSERT_EQ(file.GetChar(), *c) << "seed " << seed << " op " << op;
        }
      } else if (k < 990) {
        // A look-ahead run: mostly short, sometimes across several blocks.
        const unsigned len = rng() % 50 == 0 ? static_cast<unsigned>(rng() % (3 * kBlock)) : rng() % 40;
        for (unsigned i = 0; i < len; ++i) ASSERT_EQ(file.GetAheadChar(), model.GetAheadChar()) << "seed " << seed;
      } else {
        const auto line = model.GetLine();
        if (!line) {
          EXPECT_THROW(file.GetLine(info), EEndOfFile);
          ended = true;
        } else {
          file.GetLine(info);
          ASSERT_EQ(info.Line, line->first) << "seed " << seed << " op " << op;
          ASSERT_EQ(info.LineNo, line->second) << "seed " << seed;
        }
      }
      ASSERT_EQ(file.LineCount(), model.LineCount) << "seed " << seed << " op " << op;
    }
  }
}
