// The hand-over message: what is sent comes back whole, at every cut it is
// incomplete, and bytes that break a rule are malformed; the socket's name;
// the query read from standard input.
#include "core/handover.h"

#include <gtest/gtest.h>

#include "sjis/exceptions.h"

using namespace handover;

namespace {

std::string Length(std::size_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}
std::string Message(const std::string& query, const std::string& folder, const std::string& token) {
  return "KVLX" + Length(query.size()) + query + Length(folder.size()) + folder + Length(token.size()) + token;
}

TEST(Handover, RoundTripAndEveryCutIsIncomplete) {
  const TRequest requests[] = {
      {"猫", "/home/u/\x8E\xAB\x8F\x91", "token-1_2"},
      {"(zeb", "", ""},
      {"", "", ""},
      {std::string(kMaxQueryBytes, 'q'), std::string(kMaxFolderBytes, 'f'), std::string(kMaxTokenBytes, 't')},
  };
  for (const TRequest& request : requests) {
    const std::string message = Encode(request);
    EXPECT_EQ(message, Message(request.Query, request.Folder, request.Token));
    TRequest decoded;
    for (std::size_t cut = 0; cut < message.size(); ++cut)
      ASSERT_EQ(Decode(std::string_view(message).substr(0, cut), decoded), TDecoded::Incomplete) << cut;
    ASSERT_EQ(Decode(message, decoded), TDecoded::Complete);
    EXPECT_EQ(decoded, request);
  }
}

TEST(Handover, BrokenRulesAreMalformed) {
  const std::string malformed[] = {
      "GET / HTTP/1.1\r\n",
      Message("a\rb", "", ""),
      Message("a\nb", "", ""),
      Message("\xff", "", ""),
      Message("\xe7\x8c", "", ""),
      Message("cat", std::string("a\0b", 3), ""),
      Message("cat", "", "to ken"),
      Message("cat", "", "") + "x",
      "KVLX" + Length(kMaxQueryBytes + 1),
      Message("cat", "", "").substr(0, 11) + Length(kMaxFolderBytes + 1),
  };
  for (const std::string& bytes : malformed) {
    TRequest decoded{"kept", "", ""};
    EXPECT_EQ(Decode(bytes, decoded), TDecoded::Malformed) << bytes;
    EXPECT_EQ(decoded.Query, "kept");
  }
  EXPECT_LE(
      Message(std::string(kMaxQueryBytes, 'q'), std::string(kMaxFolderBytes, 'f'), std::string(kMaxTokenBytes, 't'))
          .size(),
      kMaxMessageBytes);
  EXPECT_THROW(Encode({"a\nb", "", ""}), Exception);
  EXPECT_THROW(Encode({"a", "", std::string(kMaxTokenBytes + 1, 't')}), Exception);
}

TEST(Handover, SocketPathPerDisplay) {
  EXPECT_EQ(SocketPath("/run/user/1000", "wayland-0", ":0"), "/run/user/1000/kovalex-wayland-0");
  EXPECT_EQ(SocketPath("/run/user/1000/", "", ":1.0"), "/run/user/1000/kovalex-_1.0");
  EXPECT_EQ(SocketPath("/run/user/1000", "/tmp/w/wayland-9", ""), "/run/user/1000/kovalex-wayland-9");
  EXPECT_EQ(SocketPath("/r", "", "host/../x:0"), "/r/kovalex-x_0");
  EXPECT_EQ(SocketPath("", "wayland-0", ":0"), "");
  EXPECT_EQ(SocketPath("relative", "wayland-0", ""), "");
  EXPECT_EQ(SocketPath("/r", "", ""), "");
}

TEST(Handover, QueryFromInputIsItsFirstLine) {
  EXPECT_EQ(QueryFromInput("cat\n"), "cat");
  EXPECT_EQ(QueryFromInput("cat\r\nsecond\n"), "cat");
  EXPECT_EQ(QueryFromInput("猫"), "猫");
  EXPECT_EQ(QueryFromInput(""), "");
  EXPECT_EQ(QueryFromInput(std::string(kMaxQueryBytes, 'q') + "\n"), std::string(kMaxQueryBytes, 'q'));
  EXPECT_THROW(QueryFromInput(std::string(kMaxQueryBytes + 1, 'q')), Exception);
}

}  // namespace
