// The single-file downloads against the loopback portal: statuses, the
// remote-log texts of every failure, meters, the stop flag, a connection cut
// short (by a one-shot server of this file, as the portal always finishes
// what it starts) and the URL moniker route.
#include "starter/download/downloader.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/base/error_codes.h"
#include "starter/net/internet_open.h"
#include "starter/download/url_moniker_download.h"
#include "tests/win/support/download_test_support.h"

namespace ld {
namespace {

using test::LogRecorder;
using test::PatternBytes;
using test::PortalTree;
using test::ReadWholeFile;
using test::RecordingSink;
using test::ScratchFolder;

constexpr std::uint32_t kLog = error_code::kDownloadFile;

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LD_REQUIRE_PORTAL();
    internet_ = OpenDownloadHandle();
    ASSERT_TRUE(internet_);
    SetReceiveTimeout(internet_.Get(), 5000);
  }

  bool Download(const std::string& local, const std::string& url, DWORD buffer = 0,
                MeterControl* a = nullptr, MeterControl* b = nullptr, bool staged = false) {
    return DownloadFile(internet_.Get(), buffer, local, url, a, b, staged);
  }

  test::StopFlagGuard stop_guard_;
  LogRecorder log_;
  RecordingSink sink_;
  ScopedProgressSink sink_scope_{&sink_};
  ScratchFolder scratch_;
  InternetHandle internet_;
};

TEST_F(DownloaderTest, Status200WritesTheFileAndReportsEveryReadToBothMeters) {
  PortalTree tree;
  const std::string bytes = PatternBytes(25000);
  tree.Put("a.bin", bytes);
  ProgressMeter slot, main;
  MeterControl a(&slot, "SLOT");
  MeterControl b(&main, kMainBar);
  a.SetMode(true);
  b.StartTransfer(25000);

  ASSERT_TRUE(Download(scratch_.Sub("a.bin"), tree.Url("a.bin"), 10240, &a, &b));
  EXPECT_EQ(ReadWholeFile(scratch_.Sub("a.bin")), bytes);
  EXPECT_TRUE(log_.events().empty());
  EXPECT_EQ(slot.done(), 25000u);
  EXPECT_EQ(main.done(), 25000u);
  // Pieces of at most the buffer size, then the final empty read, reported
  // as well.
  const std::vector<uint32_t> positions = sink_.PositionsOf("SLOT");
  ASSERT_GE(positions.size(), 5u);  // SetMode, at least three reads, the empty one
  EXPECT_EQ(positions.back(), 25000u);
  EXPECT_EQ(positions[positions.size() - 2], 25000u);
  for (std::size_t i = 2; i < positions.size(); ++i) {
    EXPECT_LE(positions[i] - positions[i - 1], 10240u);
  }
  // The main meter drives the main bar and its two texts.
  EXPECT_EQ(sink_.PositionsOf(kMainBar).back(), 25000u);
  EXPECT_FALSE(sink_.TextsOf(kTransferRateText).empty());
}

TEST_F(DownloaderTest, ZeroByteFileIsCreatedEmpty) {
  PortalTree tree;
  tree.Put("empty.bin", "");
  const std::string local = scratch_.Sub("empty.bin");
  ScratchFolder::WriteFile(local, "old content");
  ASSERT_TRUE(Download(local, tree.Url("empty.bin")));
  EXPECT_TRUE(test::PathExists(local));
  EXPECT_EQ(ReadWholeFile(local), "");
}

TEST_F(DownloaderTest, OldFileIsReplacedWholeEvenWhenReadOnly) {
  PortalTree tree;
  tree.Put("short.txt", "new");
  const std::string local = scratch_.Sub("short.txt");
  ScratchFolder::WriteFile(local, "a much longer old content");
  ::SetFileAttributesA(local.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(Download(local, tree.Url("short.txt")));
  EXPECT_EQ(ReadWholeFile(local), "new");
  EXPECT_TRUE(log_.events().empty());
}

// Every failure of the table: its text, its result and what stays on disk.
TEST_F(DownloaderTest, NotFoundFailsOnTheNumericStatusWithoutTouchingTheLocalFile) {
  PortalTree tree;
  const std::string local = scratch_.Sub("kept.bin");
  ScratchFolder::WriteFile(local, "previous");
  EXPECT_FALSE(Download(local, tree.Url("missing.bin")));
  EXPECT_EQ(ReadWholeFile(local), "previous");
  EXPECT_FALSE(test::PathExists(scratch_.Sub("never.bin")));
  EXPECT_FALSE(Download(scratch_.Sub("never.bin"), tree.Url("missing.bin")));
  EXPECT_FALSE(test::PathExists(scratch_.Sub("never.bin")));
  const auto texts = log_.TextsOf(kLog);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "[ERR]DownloadFile():: HttpQueryInfo() failed [FnRet:404]");
}

TEST_F(DownloaderTest, UnreachableServerIsLoggedWithTheCanonicalAddress) {
  EXPECT_FALSE(Download(scratch_.Sub("x.bin"), "http://127.0.0.1:1/a b.bin"));
  const auto texts = log_.TextsOf(kLog);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "[ERR]DownloadFile()::InternetOpenUrl() failed, url : http://127.0.0.1:1/a%20b.bin");
  EXPECT_FALSE(test::PathExists(scratch_.Sub("x.bin")));
}

TEST_F(DownloaderTest, LongLogTextsAreCutTo199Characters) {
  const std::string url = "http://127.0.0.1:1/" + std::string(300, 'p') + ".bin";
  EXPECT_FALSE(Download(scratch_.Sub("x.bin"), url));
  const auto texts = log_.TextsOf(kLog);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].size(), 199u);
  EXPECT_EQ(texts[0],
            ("[ERR]DownloadFile()::InternetOpenUrl() failed, url : " + url).substr(0, 199));
}

TEST_F(DownloaderTest, LocalFileThatCannotBeCreatedIsLoggedWithTheSystemError) {
  PortalTree tree;
  tree.Put("a.bin", "abc");
  const std::string local = scratch_.Sub("no such folder\\a.bin");
  EXPECT_FALSE(Download(local, tree.Url("a.bin")));
  const auto texts = log_.TextsOf(kLog);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "[ERR]DownloadFile():: Fail CreateFile( " + local + " )(3)");
}

TEST_F(DownloaderTest, StopDuringTheTransferEndsAfterThePieceAndKeepsThePartialFile) {
  PortalTree tree;
  tree.Put("big.bin", PatternBytes(300000));
  ProgressMeter meter;
  MeterControl a(&meter, "SLOT");
  a.SetMode(true);
  sink_.on_position = [](const std::string& bar, uint32_t position) {
    if (bar == "SLOT" && position > 0) cStarterApp::Get().RequestStop();
  };
  const std::string local = scratch_.Sub("big.bin");
  EXPECT_FALSE(Download(local, tree.Url("big.bin"), 10240, &a));
  const std::string partial = ReadWholeFile(local);
  EXPECT_GT(partial.size(), 0u);
  EXPECT_LE(partial.size(), 10240u);
  EXPECT_EQ(partial, PatternBytes(300000).substr(0, partial.size()));
  EXPECT_TRUE(log_.events().empty());
}

TEST_F(DownloaderTest, StopBeforeTheTransferCreatesNoFile) {
  PortalTree tree;
  tree.Put("a.bin", "abc");
  cStarterApp::Get().RequestStop();
  EXPECT_FALSE(Download(scratch_.Sub("a.bin"), tree.Url("a.bin")));
  EXPECT_FALSE(test::PathExists(scratch_.Sub("a.bin")));
}

TEST_F(DownloaderTest, StagedDownloadsFillTheDownloadHalfOfTheBar) {
  PortalTree tree;
  tree.Put("a.bin", PatternBytes(30000));
  ProgressMeter meter;
  MeterControl main(&meter, kMainBar);
  main.Reset(false);
  main.StagedStart(60000);
  main.StagedNextFile(30000);
  ASSERT_TRUE(Download(scratch_.Sub("a.bin"), tree.Url("a.bin"), 40960, &main, nullptr, true));
  EXPECT_EQ(meter.staged_current(), 30000u);
  // Half the batch downloaded: a quarter of the bar (the other half is for
  // unpacking).
  EXPECT_EQ(sink_.PositionsOf(kMainBar).back(), 25u);
  EXPECT_EQ(meter.done(), 0u);
}

// A server that announces more than it sends, then closes the connection.
class CutServer {
 public:
  CutServer(std::size_t announced, const std::string& sent) {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    int length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(announced) +
                               "\r\nConnection: close\r\n\r\n" + sent;
    thread_ = std::thread([this, answer] { Serve(answer); });
  }
  ~CutServer() {
    thread_.join();
    ::closesocket(listener_);
    ::WSACleanup();
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
  }

 private:
  // At most three connections (the library may retry), each within 10 s.
  void Serve(const std::string& answer) {
    for (int served = 0; served < 3; ++served) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait = {served == 0 ? 10 : 1, 0};
      if (::select(0, &ready, nullptr, nullptr, &wait) <= 0) return;
      SOCKET client = ::accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      std::string request;
      char piece[1024];
      while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const int got = ::recv(client, piece, sizeof piece, 0);
        if (got <= 0) break;
        request.append(piece, got);
      }
      ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
      ::shutdown(client, SD_BOTH);
      ::closesocket(client);
    }
  }

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::thread thread_;
};

TEST_F(DownloaderTest, ConnectionCutShortFailsAndDeletesThePartialFile) {
  const std::string local = scratch_.Sub("cut.bin");
  std::string url;
  {
    CutServer server(100000, PatternBytes(3000));
    url = server.Url("cut.bin");
    EXPECT_FALSE(Download(local, url, 1024));
  }
  EXPECT_FALSE(test::PathExists(local));
  const auto texts = log_.TextsOf(kLog);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("[ERR]InternetReadFile() fail(" + url + ")(", 0), 0u) << texts[0];
}

// The URL moniker route.
TEST_F(DownloaderTest, UrlMonikerDownloadsAFileAndFailsNegativeOnNotFound) {
  PortalTree tree;
  const std::string bytes = PatternBytes(5000, 7);
  tree.Put("m.bin", bytes);
  EXPECT_GE(UrlDownload(tree.Url("m.bin"), scratch_.Sub("m.bin")), 0);
  EXPECT_EQ(ReadWholeFile(scratch_.Sub("m.bin")), bytes);
  // The system may leave the server's error page at the local path; the
  // failure must still say so (the list fetches remove what it left).
  EXPECT_EQ(UrlDownload(tree.Url("nothing.bin"), scratch_.Sub("n.bin")), INET_E_DOWNLOAD_FAILURE);
}

TEST(UrlDownloadStatusTest, CountsReferencesAndStoresTheEndAndTheHttpStatus) {
  auto* status = new TCB_URLDownloadFileStatus;
  EXPECT_EQ(status->AddRef(), 1u);
  void* object = nullptr;
  ASSERT_EQ(status->QueryInterface(IID_IBindStatusCallback, &object), S_OK);
  EXPECT_EQ(object, static_cast<IBindStatusCallback*>(status));
  ASSERT_EQ(status->QueryInterface(IID_IUnknown, &object), S_OK);
  ASSERT_EQ(status->QueryInterface(IID_IHttpNegotiate, &object), S_OK);
  EXPECT_EQ(object, static_cast<IHttpNegotiate*>(status));
  EXPECT_EQ(status->references(), 4);
  object = &object;
  EXPECT_EQ(status->QueryInterface(IID_IServiceProvider, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(status->references(), 4);

  // An error page is refused, a normal answer taken.
  EXPECT_EQ(status->OnResponse(200, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(status->OnResponse(404, nullptr, nullptr, nullptr), E_ABORT);
  EXPECT_EQ(status->http_status(), 404u);

  EXPECT_FALSE(status->finished());
  EXPECT_EQ(status->OnStopBinding(INET_E_RESOURCE_NOT_FOUND, nullptr), INET_E_RESOURCE_NOT_FOUND);
  EXPECT_TRUE(status->finished());
  EXPECT_EQ(status->result(), INET_E_RESOURCE_NOT_FOUND);
  EXPECT_EQ(status->OnProgress(1, 2, 3, nullptr), S_OK);

  EXPECT_EQ(status->Release(), 3u);
  EXPECT_EQ(status->Release(), 2u);
  EXPECT_EQ(status->Release(), 1u);
  EXPECT_EQ(status->Release(), 0u);  // frees it
}

}  // namespace
}  // namespace ld
