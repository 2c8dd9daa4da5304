// make_corpus: writes a large Shift-JIS dictionary-like file for benchmarks.
//
//   make_corpus OUTPUT SIZE_MB [--edict FILE]
//
// Without --edict the content is generated: deterministic (a fixed-seed
// generator), CR LF line ends, lines that start with "■" and an ASCII
// headword, a part of speech in braces, Japanese glosses, half-width katakana
// and, now and then, a long line of several kilobytes.  With --edict the
// lines of that EUC-JP dictionary are converted to Shift-JIS (CP932) and
// repeated until the size is reached.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string Convert(const std::string& text, const char* from) {
  iconv_t cd = iconv_open("CP932", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string in = text;
  std::string out(in.size() * 2 + 16, '\0');
  char* inp = in.data();
  size_t inLeft = in.size();
  char* outp = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return {};  // a line without a Shift-JIS form is left out
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<std::string> Sjis(const std::vector<std::string>& utf8) {
  std::vector<std::string> result;
  for (const auto& s : utf8) result.push_back(Convert(s, "UTF-8"));
  return result;
}

class TRandom {
 public:
  std::uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
    return static_cast<std::uint32_t>(FState);
  }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Next() % v.size()];
  }

 private:
  std::uint64_t FState = 0x9E3779B97F4A7C15ull;
};

const std::vector<std::string> kSyllables = {"ka",  "ro", "mi",  "ten", "sa",   "lo",  "ver", "pan", "tri", "ble",
                                             "con", "ex", "ing", "ly",  "ment", "ous", "al",  "er",  "ion", "ate"};
const std::vector<std::string> kWords = {"search",     "water",    "light",    "book",    "make",   "run",   "cat",
                                         "dictionary", "language", "running",  "reading", "think",  "open",  "table",
                                         "river",      "station",  "computer", "morning", "garden", "letter"};
const std::vector<std::string> kParts = {"{名}", "{動}", "{形}", "{副}", "{前}", "{接}"};
const std::vector<std::string> kGlosses = {
    "検索", "水",     "光", "本", "作る", "走る",     "猫",     "辞書",   "言語", "考える", "開く",   "机",   "川",
    "駅",   "計算機", "朝", "庭", "手紙", "読むこと", "明るい", "静かな", "速く", "大きい", "新しい", "古い", "美しい"};
const std::vector<std::string> kKatakana = {"ｻｰﾁ", "ｳｫｰﾀｰ", "ﾗｲﾄ", "ﾌﾞｯｸ", "ﾒｲｸ", "ﾗﾝ", "ｷｬｯﾄ", "ﾃｰﾌﾞﾙ"};

std::string Headword(TRandom& random) {
  if (random.Next() % 3 == 0) return random.Pick(kWords);
  std::string w;
  const int n = 2 + static_cast<int>(random.Next() % 3);
  for (int k = 0; k < n; ++k) w += random.Pick(kSyllables);
  return w;
}

void Generate(std::ofstream& out, std::uint64_t size) {
  TRandom random;
  const auto parts = Sjis(kParts);
  const auto glosses = Sjis(kGlosses);
  const auto katakana = Sjis(kKatakana);
  const std::string mark = Convert("■", "UTF-8");
  const std::string comma = Convert("、", "UTF-8");
  std::uint64_t written = 0;
  std::string line;
  while (written < size) {
    line = mark + Headword(random) + "  " + random.Pick(parts) + " ";
    const int glossCount = 1 + static_cast<int>(random.Next() % 4);
    for (int k = 0; k < glossCount; ++k) line += (k ? comma : "") + random.Pick(glosses);
    if (random.Next() % 4 == 0) line += " " + random.Pick(katakana);
    if (random.Next() % 3 == 0) line += " \"" + Headword(random) + " " + Headword(random) + "\"";
    if (random.Next() % 500 == 0) {
      const int extra = 1000 + static_cast<int>(random.Next() % 4000);
      while (static_cast<int>(line.size()) < extra) line += " " + random.Pick(glosses) + " " + Headword(random);
    }
    line += "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    written += line.size();
  }
}

void FromEdict(std::ofstream& out, std::uint64_t size, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<std::string> lines;
  std::string raw;
  while (std::getline(in, raw)) {
    std::string sjis = Convert(raw, "EUC-JP");
    if (!sjis.empty()) lines.push_back(sjis + "\r\n");
  }
  if (lines.empty()) throw std::runtime_error(path + " has no convertible lines");
  std::uint64_t written = 0;
  for (std::size_t k = 0; written < size; k = (k + 1) % lines.size()) {
    out.write(lines[k].data(), static_cast<std::streamsize>(lines[k].size()));
    written += lines[k].size();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--edict")) {
    std::cerr << "usage: make_corpus OUTPUT SIZE_MB [--edict FILE]\n";
    return 2;
  }
  try {
    const std::uint64_t size = std::stoull(argv[2]) << 20;
    std::ofstream out(argv[1], std::ios::binary);
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    if (argc == 5)
      FromEdict(out, size, argv[4]);
    else
      Generate(out, size);
    if (!out.flush()) throw std::runtime_error("write failed");
  } catch (const std::exception& e) {
    std::cerr << "make_corpus: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
