// The reader against a model of its stream: the model cleans the whole file
// at once and walks it with two cursors as the reader documents, with no
// blocks involved.  Hand-picked files (every kind of line end, zero bytes,
// double-byte characters with odd trail bytes, seams on block boundaries)
// and generated ones go through seeded walks that mix both cursors and
// GetLine.  The rest: what a file system does around the stream (opening,
// pipes, growing files, bounds) and the message pump.
#include "txtfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "engine_messages.h"
#include "exceptions.h"
#include "reader_lines.h"
#include "temp_dir.h"

namespace {

constexpr std::size_t kBlock = TTxtFile::BufSize;
using Lines = std::vector<std::pair<std::string, std::int64_t>>;

// GetChar until the main cursor raises EEndOfFile; every code read before.
std::vector<TCharCode> ReadAllChars(TTxtFile& file) {
  std::vector<TCharCode> codes;
  try {
    for (;;) codes.push_back(file.GetChar());
  } catch (const EEndOfFile&) {
  }
  return codes;
}

// Every line as the grep reports lines: GetChar onto the line, GetLine.
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

Lines NumberedLines(const std::string& content) {
  Lines lines;
  for (const std::string& line : ReaderLines(content)) lines.emplace_back(line, lines.size() + 1);
  return lines;
}

// The reader's stream worked out on the whole file: a line feed before the
// first line, then the file's lines, each ended by a line feed.  The
// cursors walk it as the reader documents; nullopt where it raises
// EEndOfFile (the main cursor taking the last byte).
class TModel {
 public:
  explicit TModel(const std::string& raw) {
    for (const std::string& line : ReaderLines(raw)) S += "\n" + line;
    S += "\n";
  }

  std::optional<TCharCode> GetChar() {
    unsigned char b1 = 0, b2 = 0;
    if (!Byte(b1) || (IsDBCSLeadByte(b1) && !Byte(b2))) return std::nullopt;
    Ahead = Cursor;
    return IsDBCSLeadByte(b1) ? static_cast<TCharCode>(b1 << 8 | b2) : b1;
  }

  TCharCode GetAheadChar() {
    if (Ahead >= S.size()) return 0;
    const auto b1 = static_cast<unsigned char>(S[Ahead++]);
    if (!IsDBCSLeadByte(b1)) return b1;
    const unsigned char b2 = Ahead < S.size() ? static_cast<unsigned char>(S[Ahead++]) : 0;
    return static_cast<TCharCode>(b1 << 8 | b2);
  }

  std::optional<std::pair<std::string, std::int64_t>> GetLine() {
    const std::size_t from = Cursor;
    for (unsigned char b = 0; Cursor >= S.size() || S[Cursor] != '\n';)
      if (!Byte(b)) return std::nullopt;
    if (Cursor != from) Ahead = Cursor;
    return std::make_pair(S.substr(LineStart, Cursor - LineStart), LineCount);
  }

  std::int64_t LineCount = 0;

 private:
  // Consumes one byte; false when it was the last one (or there was none).
  bool Byte(unsigned char& b) {
    if (Cursor >= S.size()) return false;
    b = static_cast<unsigned char>(S[Cursor++]);
    if (Cursor == S.size()) return false;
    if (b == '\n') LineStart = Cursor, ++LineCount;
    return true;
  }

  std::string S;
  std::size_t Cursor = 0, LineStart = 0, Ahead = 0;
};

// Every line, then both cursors and GetLine in a seeded random order, each
// result and the line count against the model.
void ExpectReaderMatchesModel(const std::string& content, unsigned seed) {
  const TTempFile f(content);
  TTxtFile lines(f.Path(), nullptr), file(f.Path(), nullptr);
  EXPECT_EQ(ReadAllLines(lines), NumberedLines(content)) << "seed " << seed;
  std::mt19937 rng(seed);
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
      ASSERT_EQ(std::make_pair(info.Line, info.LineNo), *line) << "seed " << seed << " op " << op;
    }
    ASSERT_EQ(file.LineCount(), model.LineCount) << "seed " << seed << " op " << op;
  }
}

// Mixed text: ASCII runs, every kind of line end, zero bytes, double-byte
// characters (some with CR, LF or zero as trail byte), long lines, chosen
// byte pairs on the block boundaries, and an odd last byte.
std::string GenerateFile(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::size_t target = 1 + rng() % (3 * kBlock + kBlock / 2);
  static const std::string kPieces[] = {"\n", "\r\n", "\r", std::string(1, '\0')};
  static const int kUpTo[] = {52, 62, 67, 70};
  std::string s;
  while (s.size() < target) {
    const int k = pick(100);
    if (k < 40) {
      for (int n = 1 + pick(40); n > 0; --n) s += static_cast<char>('a' + pick(26));
    } else if (k < 70) {
      s += kPieces[std::upper_bound(kUpTo, kUpTo + 4, k) - kUpTo];
    } else if (k < 92) {
      s += static_cast<char>(pick(2) ? 0x81 + pick(0x1F) : 0xE0 + pick(0x1D));
      const int t = pick(20);
      s += t < 3 ? "\r\n"[t] : static_cast<char>(0x40 + pick(0xBD));  // "\r\n" ends in '\0'
    } else {
      s += k == 92 ? std::string(kBlock / 2 + rng() % (2 * kBlock), 'L') : " ";
    }
  }
  static const char kSeams[] = "\r\n\rx\x82\xa0\r\r\0\r\x82\r\n\r\x82\n";
  for (std::size_t at = kBlock - 1; at + 1 < s.size(); at += kBlock) {
    const int c = pick(9);
    if (c < 8) s[at] = kSeams[2 * c], s[at + 1] = kSeams[2 * c + 1];  // else leave the generated bytes
  }
  const int last = pick(5);
  return last < 3 ? s + "\r\x88\n"[last] : s;
}

}  // namespace

TEST(TxtFileModel, FilesMatchModel) {
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
  std::string plain;
  while (plain.size() < 2 * kChunk + 1000) plain += GenerateFile(rng);
  for (const std::string needle : {"Qz", "qZw", "\x88\x9f"}) {
    for (const std::size_t at : {kChunk - 1, 2 * kChunk - 2}) {
      std::string content = plain;
      content.replace(at, needle.size(), needle);
      const TTempFile f(content);
      for (const bool fold : {false, true}) {
        TTxtFile file(f.Path(), nullptr);
        std::int64_t last = 0;
        for (const auto& [line, number] : NumberedLines(content))
          if ((fold ? AsciiLowerSjis(line) : line).find(fold ? AsciiLowerSjis(needle) : needle) != std::string::npos)
            last = number;
        EXPECT_EQ(file.LastLineHolding(needle, fold), last) << needle << " " << at << " " << fold;
        EXPECT_TRUE(file.MayHold(needle, fold));
      }
    }
    const TTempFile none(plain);
    TTxtFile file(none.Path(), nullptr);
    EXPECT_EQ(file.LastLineHolding(needle, false) == 0, !file.MayHold(needle, false)) << needle;
  }
  const TTempFile f("ab cd\n");
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
  const TTempFile f(content);
  TTxtFile file(f.Path(), nullptr);
  LineInfo_t info;
  std::size_t most = 0;
  try {
    for (;;) {
      file.GetChar();
      file.GetLine(info);
      most = std::max(most, file.CarriedBytes());
      EXPECT_TRUE(info.LineNo % 40000 != 30000 || file.CarriedBytes() < 100u) << info.LineNo;
    }
  } catch (const EEndOfFile&) {
  }
  EXPECT_EQ(info.LineNo, 90001);
  EXPECT_GE(most, longLine.size() - kBlock);
  EXPECT_LE(most, longLine.size() + 1);
}

// A pipe has no size; only a read that returns nothing ends it.  Two whole
// blocks: the end shows only after the last byte, here a CR held back for a
// line feed that never comes.
TEST(TxtFileBlocks, FifoIsReadToItsEnd) {
  std::string entries;
  for (int i = 0; entries.size() < 2 * kBlock + 300; ++i) entries += "entry " + std::to_string(i) + "\r\n";
  const TTempDir dir;
  const std::string fifo = dir / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct sigaction ignore = {}, saved = {};  // a reader that stops early must not kill the test
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &saved);
  for (const std::string& content : {entries + "no final line feed", std::string(2 * kBlock - 2, 'b') + "x\r",
                                     std::string(2 * kBlock - 1, 'c') + "\n"}) {
    std::thread writer([&] {
      int fd = -1;  // waits (up to about ten seconds) for the reader to open the pipe
      for (int tries = 0; fd < 0 && tries < 10000; ++tries)
        if ((fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) < 0)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (fd < 0) return;
      fcntl(fd, F_SETFL, 0);
      for (std::size_t done = 0; done < content.size();) {
        const ssize_t n = write(fd, content.data() + done, std::min<std::size_t>(4096, content.size() - done));
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
      }
      close(fd);
    });
    Lines lines;
    {
      TTxtFile file(fifo, nullptr);
      lines = ReadAllLines(file);
    }
    writer.join();
    EXPECT_EQ(lines, NumberedLines(content));
  }
  sigaction(SIGPIPE, &saved, nullptr);
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
    const TTempFile f(first);
    int pumps = 0;
    TTxtFile file(f.Path(), nullptr, [&] {
      if (++pumps != growAtPump) return;
      const int fd = open(f.Path().c_str(), O_WRONLY | O_APPEND);
      ASSERT_EQ(write(fd, appended.data(), appended.size()), static_cast<ssize_t>(appended.size()));
      close(fd);
    });
    const TTempFile whole(growAtPump == 1 ? first + appended : first);
    TTxtFile expected(whole.Path(), nullptr);
    EXPECT_EQ(ReadAllChars(file), ReadAllChars(expected)) << growAtPump;
  }
}

// A stream that goes on where another left off numbers its lines on, past
// 2^31 and 2^32 without wrapping.
TEST(TxtFileStream, LineNumbersAre64Bit) {
  const TTempFile f("a\nb\nc\n");
  TTxtFile file(f.Path(), nullptr, {}, TReadOptions{.LinesBefore = (std::int64_t{1} << 32) - 2});
  EXPECT_EQ(ReadAllLines(file), (Lines{{"a", 4294967295}, {"b", 4294967296}, {"c", 4294967297}}));
}

// Errors carry the system's messages (others the C locale's text).  With
// RegularFilesOnly a FIFO without a writer is refused at once instead of
// waiting for one; a directory keeps its own message.  An empty file ends
// before the first message or cancel test.
TEST(TxtFileOpen, ErrorsCarryTheSystemsMessages) {
  const TTempFile f("line\n");
  const std::filesystem::path dir = std::filesystem::path(f.Path()).parent_path();
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string Path;
    bool RegularOnly;
    std::string_view Message;
  } refused[] = {{f.Path() + ".missing", false, sjis_text::kMsgFileNotFound},
                 {dir, false, sjis_text::kMsgIsDirectory},
                 {f.Path() + "/inner", false, "Not a directory"},
                 {fifo, true, sjis_text::kMsgNotRegularFile},
                 {"/dev/null", true, sjis_text::kMsgNotRegularFile},
                 {dir, true, sjis_text::kMsgIsDirectory}};
  for (const auto& row : refused) {
    try {
      TTxtFile file(row.Path, nullptr, {}, TReadOptions{.RegularFilesOnly = row.RegularOnly});
      ADD_FAILURE() << row.Path << ": no exception";
    } catch (const EFileNotFound& e) {
      EXPECT_EQ(e.Message(), std::string(row.Message)) << row.Path;
    }
  }
  TTxtFile file(f.Path(), nullptr, {}, TReadOptions{.RegularFilesOnly = true});
  EXPECT_EQ(ReadAllLines(file), (Lines{{"line", 1}}));
  const TTempFile empty("");
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(empty.Path(), &cancel, [&] { ++pumps; }), EEndOfFile);
  EXPECT_EQ(pumps, 0);
}

// A line over the bound ends the read with the reader's own error, naming
// the file, whichever cursor meets it.
TEST(TxtFileOpen, LineOverTheBoundRaisesLineTooLong) {
  const TTempFile f("short\n" + std::string(3 * kBlock, 'L') + "\nshort\n");
  for (const bool ahead : {false, true}) {
    TTxtFile file(f.Path(), nullptr, {}, TReadOptions{.MaxLineBytes = 2 * kBlock});
    try {
      for (std::size_t i = 0; i < 5 * kBlock; ++i) ahead ? file.GetAheadChar() : file.GetChar();
      ADD_FAILURE() << "no exception, ahead " << ahead;
    } catch (const ELineTooLong& e) {
      EXPECT_EQ(e.FileName, f.Path());
      EXPECT_EQ(e.Message(), std::string(sjis_text::kMsgLineTooLong));
    }
  }
  TTxtFile unbounded(f.Path(), nullptr, {}, TReadOptions{.MaxLineBytes = 4 * kBlock});
  EXPECT_EQ(ReadAllLines(unbounded).size(), 3u);
}

// Messages and cancellation: the pump runs once per block read and per
// line, the flag is tested right after each, so a flag set between block
// reads is noticed as either cursor takes the last byte of the first block.
TEST(TxtFileCancel, MessagesOncePerBlockAndPerLine) {
  std::string content;
  while (content.size() < 2 * kBlock + 10) content += "0123456789abcdefghi\n";  // three blocks
  const TTempFile f(content);
  bool cancel = true;
  int pumps = 0;
  EXPECT_THROW(TTxtFile(f.Path(), &cancel, [&] { ++pumps; }), ECancelRequest);
  EXPECT_EQ(pumps, 1);
  cancel = false;
  pumps = 0;
  TTxtFile file(f.Path(), &cancel, [&] { ++pumps; });
  EXPECT_EQ(pumps, 1);
  const std::size_t lines = ReadAllLines(file).size();
  EXPECT_EQ(pumps, 3 + static_cast<int>(lines));
  pumps = 0;
  TTxtFile again(f.Path(), &cancel, [&] { cancel = ++pumps == 2; });  // set by the pump, noticed right after
  LineInfo_t info;
  again.GetChar();
  EXPECT_THROW(again.GetLine(info), ECancelRequest);
  for (const bool ahead : {false, true}) {
    cancel = false;
    TTxtFile reader(f.Path(), &cancel);
    cancel = true;
    std::size_t read = 0;
    try {
      for (;; ++read) ahead ? reader.GetAheadChar() : reader.GetChar();
    } catch (const ECancelRequest&) {
    }
    EXPECT_EQ(read, kBlock) << ahead;
  }
}
