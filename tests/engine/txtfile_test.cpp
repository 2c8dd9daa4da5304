// The reader against a model of its stream: the model cleans the whole file
// at once and walks it with two cursors as the reader documents, with no
// blocks involved.  Hand-picked files (every kind of line end, zero bytes,
// double-byte characters with odd trail bytes, seams on block boundaries)
// and generated ones go through the same three walks: by character, by line
// and with both cursors mixed.  The rest: what a file system does around
// the stream (opening, pipes, growing files, bounds) and the message pump.
#include "txtfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

using Lines = std::vector<std::pair<std::string, std::int64_t>>;

// Every line of the file as the grep reports lines: GetChar onto the line,
// GetLine, and on until the end.
Lines ReadAllLines(TTxtFile& file) {
  Lines lines;
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

  // The cleaned stream (a line feed before the first line).
  const std::string& Stream() const { return S; }

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

std::vector<TCharCode> ModelChars(const std::string& content) {
  TModel model(content);
  std::vector<TCharCode> codes;
  while (auto c = model.GetChar()) codes.push_back(*c);
  return codes;
}

Lines ModelLines(const std::string& content) {
  TModel model(content);
  Lines lines;
  while (model.GetChar()) {
    const auto line = model.GetLine();
    if (!line) break;
    lines.push_back(*line);
  }
  return lines;
}

// Both cursors and GetLine in a seeded random order, each result and the
// line count against the model.
void ExpectMixedWalkMatchesModel(const std::string& content, unsigned seed) {
  std::mt19937 rng(seed);
  TTempFile f(content);
  TTxtFile file(f.Path(), nullptr);
  TModel model(content);
  LineInfo_t info;
  for (int op = 0; op < 400000; ++op) {
    const unsigned k = rng() % 1000;
    if (k < 900) {
      const std::optional<TCharCode> c = model.GetChar();
      if (!c) {
        EXPECT_THROW(file.GetChar(), EEndOfFile);
        return;
      }
      ASSERT_EQ(file.GetChar(), *c) << "seed " << seed << " op " << op;
    } else if (k < 990) {
      // A look-ahead run: mostly short, sometimes across several blocks.
      const unsigned len = rng() % 50 == 0 ? static_cast<unsigned>(rng() % (3 * kBlock)) : rng() % 40;
      for (unsigned i = 0; i < len; ++i) ASSERT_EQ(file.GetAheadChar(), model.GetAheadChar()) << "seed " << seed;
    } else {
      const auto line = model.GetLine();
      if (!line) {
        EXPECT_THROW(file.GetLine(info), EEndOfFile);
        return;
      }
      file.GetLine(info);
      ASSERT_EQ(info.Line, line->first) << "seed " << seed << " op " << op;
      ASSERT_EQ(info.LineNo, line->second) << "seed " << seed;
    }
    ASSERT_EQ(file.LineCount(), model.LineCount) << "seed " << seed << " op " << op;
  }
}

void ExpectReaderMatchesModel(const std::string& content, unsigned seed) {
  TTempFile f(content);
  TTxtFile chars(f.Path(), nullptr);
  EXPECT_EQ(ReadAllChars(chars), ModelChars(content)) << "seed " << seed;
  TTxtFile lines(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(lines), ModelLines(content)) << "seed " << seed;
  ExpectMixedWalkMatchesModel(content, seed);
}

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

TEST(TxtFileModel, HandPickedFilesMatchModel) {
  const std::string a(kBlock - 1, 'a');
  const std::vector<std::string> files{
      "first\nsecond\n", "one\ntwo", "a\r\nb\rc\r\rd\n\re\r", "x\r", "x\n\r", std::string("ab\0cd\n\0\n", 8),
      // a pair with a backslash-range trail byte; a lead byte at the end, before a line feed, before a CR
      "a\x82\xa0\x95\\b\n", "ab\x82", "\x82\nx\n", "\x82\r\nx\x83\ry\n", "a\rb\r\r\n",
      // seams: CR LF, a lone CR, a pair and a line feed on the block boundary; one block exactly
      a + "\r\nz\n", a + "\rz\n", a + "\r", a + "\x82\xa0z", a + "\n", a.substr(1) + "\n",
      // lines longer than a block and spanning four blocks
      "short\n" + std::string(kBlock + 7, 'L') + "\nend\n", "x\n" + std::string(3 * kBlock + 5, 'M') + "\r\ny"};
  for (std::size_t i = 0; i < files.size(); ++i) ExpectReaderMatchesModel(files[i], static_cast<unsigned>(i));
}

TEST(TxtFileModel, GeneratedFilesMatchModel) {
  for (unsigned seed = 1; seed <= 24; ++seed) {
    std::mt19937 rng(seed);
    ExpectReaderMatchesModel(GenerateFile(rng), seed);
  }
}

// The whole-file searches (the cross-line scan's bound) against the model's
// lines, with occurrences on the seams of their one-megabyte chunks.
TEST(TxtFileModel, WholeFileSearchesMatchModel) {
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::mt19937 rng(7);
  std::string content;
  while (content.size() < 2 * kChunk + 1000) content += GenerateFile(rng);
  const std::string plain = content;
  for (const std::string needle : {"Qz", "qZw", "\x88\x9f"}) {
    for (const std::size_t at : {kChunk - 1, 2 * kChunk - 2}) {
      content = plain;
      content.replace(at, needle.size(), needle);
      for (const bool fold : {false, true}) {
        TTempFile f(content);
        TTxtFile file(f.Path(), nullptr);
        const std::string folded = fold ? AsciiLowerSjis(needle) : needle;
        std::int64_t last = 0;
        for (const auto& [line, number] : ModelLines(content))
          if ((fold ? AsciiLowerSjis(line) : line).find(folded) != std::string::npos) last = number;
        EXPECT_EQ(file.LastLineHolding(needle, fold), last) << needle << " " << at << " " << fold;
        EXPECT_TRUE(file.MayHold(needle, fold));
      }
    }
    TTempFile none(plain);
    TTxtFile file(none.Path(), nullptr);
    EXPECT_EQ(file.LastLineHolding(needle, false) == 0, !file.MayHold(needle, false)) << needle;
  }
  TTempFile f("ab cd\n");
  TTxtFile file(f.Path(), nullptr);
  EXPECT_EQ(file.LastLineHolding("b c", false), -1);  // a byte the reader rewrites
  EXPECT_TRUE(file.MayHold("b c", false));
  EXPECT_FALSE(file.MayHold("zz", false));
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

}  // namespace

// A pipe has no size; only a read that returns nothing ends it.  Two whole
// blocks: the end shows only after the last byte, here a CR held back for a
// line feed that never comes.
TEST(TxtFileBlocks, FifoIsReadToItsEnd) {
  std::string content;
  for (int i = 0; content.size() < 2 * kBlock + 300; ++i) content += "entry " + std::to_string(i) + "\r\n";
  for (const std::string& s : {content + "no final line feed", std::string(2 * kBlock - 2, 'b') + "x\r",
                               std::string(2 * kBlock - 1, 'c') + "\n"})
    EXPECT_EQ(ReadCharsThroughFifo(s), ModelChars(s));
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
  EXPECT_EQ(ReadAllLines(file), (Lines{{"a", 4294967295}, {"b", 4294967296}, {"c", 4294967297}}));
}

// ---------------------------------------------------------------------------
// Opening

TEST(TxtFileOpen, ErrorsCarryTheSystemsMessages) {
  TTempFile f("x");
  const std::string dir = std::filesystem::path(f.Path()).parent_path();
  const std::vector<std::pair<std::string, std::string>> cases{
      {f.Path() + ".missing", std::string(sjis_text::kMsgFileNotFound)},
      {dir, std::string(sjis_text::kMsgIsDirectory)},
      {f.Path() + "/inner", "Not a directory"}};  // other errors in the C locale's text
  for (const auto& [path, message] : cases) {
    try {
      TTxtFile file(path, nullptr);
      ADD_FAILURE() << path << ": no exception";
    } catch (const EFileNotFound& e) {
      EXPECT_EQ(e.Message(), message) << path;
    }
  }
  // An empty file ends before the first message or cancel test.
  TTempFile empty("");
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(empty.Path(), &cancel, [&] { ++pumps; }), EEndOfFile);
  EXPECT_EQ(pumps, 0);
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

// ---------------------------------------------------------------------------
// Messages and cancellation: once per block read and per line, the flag
// tested right after each.

TEST(TxtFileCancel, MessagesOncePerBlockAndPerLine) {
  std::string content;
  while (content.size() < 2 * kBlock + 10) content += "0123456789abcdefghi\n";  // three blocks
  TTempFile f(content);
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(f.Path(), &cancel, [&] { ++pumps; }), ECancelRequest);
  EXPECT_EQ(pumps, 1);

  cancel = false;
  pumps = 0;
  TTxtFile file(f.Path(), &cancel, [&] { ++pumps; });
  EXPECT_EQ(pumps, 1);
  const Lines lines = ReadAllLines(file);
  EXPECT_EQ(pumps, 3 + static_cast<int>(lines.size()));

  pumps = 0;
  TTxtFile again(f.Path(), &cancel, [&] { cancel = ++pumps == 2; });  // set by the pump, noticed right after
  LineInfo_t info;
  again.GetChar();
  EXPECT_THROW(again.GetLine(info), ECancelRequest);
}

// Set between block reads, the flag is noticed as either cursor takes the
// last byte of the first block.
TEST(TxtFileCancel, FlagNoticedAtNextBlockRead) {
  std::string content;
  while (content.size() < 2 * kBlock) content += "abcdefghi\n";
  TTempFile f(content);
  for (const bool ahead : {false, true}) {
    bool cancel = false;
    TTxtFile file(f.Path(), &cancel);
    cancel = true;
    std::size_t read = 0;
    try {
      for (;; ++read) ahead ? file.GetAheadChar() : file.GetChar();
    } catch (const ECancelRequest&) {
    }
    EXPECT_EQ(read, kBlock) << ahead;
  }
}
