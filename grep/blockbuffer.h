// The reader's blocks: one file read from start to end into a buffer, a
// block at a time (or mapped a window at a time), each block cleaned as it
// arrives, and the options with which a reader opens its file.  See
// blockbuffer.cpp.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grep/mappedwindow.h"

// How a reader opens and holds its file.
struct TReadOptions {
  // The CR of a CR LF stays in the text (see TTxtFile's constructor).
  bool KeepCrLf = false;
  // Anything but a regular file is refused at once, without waiting for a
  // FIFO's writer: the file is opened without blocking and checked before
  // the first read.
  bool RegularFilesOnly = false;
  // The longest line the reader keeps, in bytes; 0 for no bound but memory.
  std::size_t MaxLineBytes = 0;
  // Lines counted before the first one: for a stream that goes on where
  // another left off (its first line is LinesBefore + 1).
  std::int64_t LinesBefore = 0;
  // Line feeds are counted for line numbers; a reader whose lines are only
  // counted by its caller spares the counting (line numbers then read 0).
  bool CountLines = true;
  // With KeepCrLf, a regular file that the reader opens itself and that
  // holds at least this many bytes is mapped a window of this many bytes
  // (rounded up to whole pages) at a time instead of read; 0 always reads.
  std::size_t MapBytes = 0;
  // Blocks are not checked for zero bytes and lone CRs as they arrive.  Only
  // for a scan that reaches lines through line windows (TFastScanView),
  // which check the bytes they hand out (and the look-ahead those it reads),
  // and that passes over the others by bytes that the reader does not rewrite (no line end
  // or zero byte; a space the scan also finds where a zero byte stands, and
  // a line feed that begins them where a lone CR stands): a block as read
  // holds them exactly where the cleaned block does, and cuts into the same
  // characters (a zero byte, CR or line feed is never a lead byte).
  // Ignored without KeepCrLf, with CountLines (line numbers need every line
  // end) and with MaxLineBytes (the bound needs to know where the line
  // before a window starts).
  bool LazyCheck = false;
  // The reader keeps what it needs to hand lines out as they stand in the
  // input, with their byte offsets: the edits of each block (Edits) and
  // where it appended a line feed (AppendedAt).
  bool KeepInputBytes = false;
  // A lead byte that a line end follows is a character of its own, so that
  // a line feed (or CR) always ends a line; it is rewritten as
  // kLoneLeadByte.  Without it such a lead byte pairs with the line feed
  // into one character, as the window has always read its files.
  bool LoneLeadBytes = false;
  // The descriptor handed to the reader was just opened, so it stands at
  // the file's start and its position need not be asked.
  bool AtStart = false;
  // Whether a zero byte stands in the first this many bytes of the input is
  // noted (ZeroInProbe); 0 for no probe.
  std::size_t ZeroProbeBytes = 0;
};

// What a lone lead byte is rewritten as: no character of Shift-JIS and no
// lead byte, so that it is one character that only a period or a class
// matches.
constexpr unsigned char kLoneLeadByte = 0x80;

class TBlockBuffer {
 public:
  static constexpr int BufSize = 102400;  // bytes requested per block read
  static constexpr int Margin = 100;      // spare bytes behind a block

  // Opens the file (raising EFileNotFound when it cannot be opened, is a
  // directory, or with RegularFilesOnly is no regular file); nothing stays
  // open when it fails.
  TBlockBuffer(const std::string& fileName, const TReadOptions& options);
  // A descriptor that is already open, read from where it stands and left
  // open; displayName names it in messages.
  TBlockBuffer(int fd, const std::string& displayName, const TReadOptions& options);
  TBlockBuffer(const TBlockBuffer&) = delete;
  TBlockBuffer& operator=(const TBlockBuffer&) = delete;

  // Reads the first block into Data()[1, Length()) behind a line feed at
  // Data()[0] (the line feed before the first line); false when the file is
  // empty.
  bool ReadFirst();
  // Reads the next block into Data()[0, Length()).  loneCR tells that a CR
  // held back from the block before was no CR LF: the caller's copy of the
  // old block must end with a line feed for it.
  void ReadNext(bool& loneCR);

  unsigned char* Data() const { return FData; }
  std::ptrdiff_t Length() const { return FLength; }
  // The line feeds in the block (the first block's leading one included).
  std::size_t Feeds() const { return FFeeds; }
  // A read returned nothing: the block is the file's last.
  bool AtEnd() const { return FAtEnd; }
  // The block was left as read (LazyCheck): it may hold zero bytes and
  // lone CRs.
  bool Raw() const { return FRaw; }
  // For a raw block: whether Data()[from, to) holds a zero byte or a lone CR
  // (a CR as the block's last byte is lone: only a CR held back can follow
  // it).
  bool NeedsCleaning(std::size_t from, std::size_t to) const;
  // Cleans Data()[from, Length()) in place as a whole block is cleaned (CR LF
  // becomes LF too); the bytes can only move towards from.
  void CleanRest(std::size_t from);
  // Whether the last read brought bytes.
  bool GotBytes() const { return FGot > 0; }

  // With KeepInputBytes: where the block differs from the input, ascending
  // by place in Data() (a rewritten byte, or a CR dropped before the line
  // feed at At); and where the line feed appended at the end stands (-1:
  // none).  A CR held back from the block before and met here as CR LF is
  // the drop at 0; one that was lone the caller puts back as a line feed.
  struct TEdit {
    std::size_t At;
    unsigned char Original;
    bool Dropped;
  };
  const std::vector<TEdit>& Edits() const { return FEdits; }
  std::ptrdiff_t AppendedAt() const { return FAppendedAt; }
  // With LoneLeadBytes: the last byte of the block before is a lead byte
  // that this block's line end follows; the caller, who keeps that byte,
  // rewrites it.
  bool LoneLeadBefore() const { return FLoneLeadBefore; }
  // A zero byte stood in the first ZeroProbeBytes bytes of the input.
  bool ZeroInProbe() const { return FZeroInProbe; }

  const std::string& Name() const { return FName; }
  int Fd() const { return FFile.Fd; }
  // A regular file (read block by block to its end, searchable with pread).
  bool Regular() const { return FRegular; }
  // Where the first read of a regular file began; -1 when unknown.
  off_t StartOffset() const { return FStartOffset; }
  // Whether the block is a mapped window that lost pages to the file
  // shrinking; CheckLost raises EInOutError then.
  bool Lost() const { return FWindow != nullptr && FWindow->Lost(); }
  void CheckLost() const;

 private:
  // Owns the file descriptor; closes it when the buffer goes, also when the
  // constructor fails half-way.
  class TFileHandle {
   public:
    TFileHandle() = default;
    ~TFileHandle();
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Fd = -1;
    bool Owned = true;  // false for a descriptor the caller opened
  };

  void Open();
  void Check();
  void StartMapping();
  std::size_t Fetch(std::size_t offset);
  std::size_t ReadRaw(std::size_t offset);
  std::size_t MapRaw(std::size_t offset);
  void Clean(std::size_t offset, std::size_t count);
  // The edits that cleaning the count bytes at Data()[offset] makes.
  void NoteEdits(std::size_t offset, const char* data, std::size_t count);
  // Rewrites the lone lead bytes of the cleaned block Data()[offset, end).
  void RewriteLoneLeads(std::size_t offset, std::size_t end, bool heldCR);
  bool LoneLeadAt(const unsigned char* data, std::size_t first, std::size_t end) const;

  std::string FName;
  TReadOptions FOptions;
  TFileHandle FFile;
  bool FRegular = true;
  off_t FStartOffset = -1;
  off_t FReadTo = -1;  // the file position reads have reached (regular files)
  off_t FSizeAtOpen = 0;

  std::unique_ptr<unsigned char[]> FBuffer;
  unsigned char* FData = nullptr;          // the block: FBuffer, or the mapped window
  std::unique_ptr<TMappedWindow> FWindow;  // while the file is mapped
  off_t FMapOffset = 0;                    // where the next window starts
  std::ptrdiff_t FLength = 0;
  std::size_t FFeeds = 0;
  std::size_t FGot = 0;
  bool FAtEnd = false;
  bool FRaw = false;
  // The block's last byte was a CR, left out of the block until the next
  // one shows whether a line feed follows it.
  bool FPendingCR = false;
  unsigned char FLastByte = '\n';  // the last byte of the stream so far

  std::vector<TEdit> FEdits;
  std::ptrdiff_t FAppendedAt = -1;
  bool FEndedInLead = false;  // the block's last byte is a lead byte still to be paired
  bool FLoneLeadBefore = false;
  bool FZeroInProbe = false;
};
