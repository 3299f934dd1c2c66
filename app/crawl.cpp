#include "app/crawl.h"

#include "app/harvest.h"
#include "app/main_window.h"
#include "pattern/regex_object.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/shell.h"
#include "platform/worker.h"
#include "text/primitives.h"
#include "web/web_request.h"

const Text kCrawlCookieHeader(
    "Cookie: webId=1840fea7ab4fef70ad8a58719bb6400f9df3445971907bd816298c7ae5e6d0bb3bc6d9ac3cfa"
    "80a5da594927e495f61bf7fce515802c5fc137de9; gid=3d259ddd3093d163f990bdc733f07ea425fc1c0dfbe"
    "0cda789e421670ca3d604b5d39092069d49c257d4097294b84c1c79b0f053d13c1d7d425c; a1=e80fb65ac703"
    "84bd8bab0358d60b7cbe96de5b2de7c095e0d8695852e9c673afea1ff066194e9ce5fbc1533b244022f9ab53ef"
    "1cf2f4486f35f9; web_session=39a2f6cc79adcf2940bf4db5346e74fd89193a238b7703aee0993a588bf30a"
    "a7e63563d93ff4fccf47342652443edd47abebf58565784d6dcb08; xsecappid=f070581a92d5945284b22f2c"
    "30e57819aaa4eeff0cd62b545c84fcdbf95f0202894676eada9330360b9f81dd68e81dd09a4e8a94b47ce68e35"
    "e0; acw_tc=21bea4be0d80ea909fca08c77b4300167933abd0f2a8d7160abae96b9bb1736ad4df0b251575c4b"
    "b96c572395964936372feaefb7a3bfcc2c7dc; websectiga=2f2687ba24d62f6ac21fb30f12b8cefe82a6ed17"
    "165b2fae8f78e273851f61db1a2728e4f98f884422f16d6a28fa688699dedba8a9fa1ff11c00; sec_poison_i"
    "d=f2380bc087e4d4396c3e869c9a712a6c8a45d7f119ba1b8bf7aa42759d1cc420e1deb99c471eaa45ef3d590f"
    "feb278f7714d4bc0d1b68dbe7017");

namespace {

// Log texts in code page 936.
const Text kCreated("\xb4\xb4\xbd\xa8\xc1\xcb\xc4\xbf\xc2\xbc\xa3\xba");  // 创建了目录：
const Text kNotCreated(
    "\xb4\xb4\xbd\xa8\xc4\xbf\xc2\xbc\xca\xa7\xb0\xdc\xa3\xba");         // 创建目录失败：
const Text kDownloadFailed("\xcf\xc2\xd4\xd8\xca\xa7\xb0\xdc\xa3\xba");  // 下载失败：
const Text kSaveFailed("\xb1\xa3\xb4\xe6\xca\xa7\xb0\xdc\xa3\xba");      // 保存失败：

constexpr int kSize = 1000;
constexpr int kMaxFallbackTries = 100;

Text FolderPath(const Text& folder) { return ConcatTexts({platform::RunDirectory(), "/", folder}); }

// A title holding a separator, or "." or "..", would put the folder somewhere
// other than beside the program.
bool StaysBesideTheProgram(const Text& folder) {
  return FindText(folder, "/", 1, false) == -1 && FindText(folder, "\\", 1, false) == -1 &&
         !TextEquals(folder, ".") && !TextEquals(folder, "..");
}

// Creates the title folder, or else a new date-time folder ("name (2)", ...
// when that exists already), so that a crawl never writes into another
// crawl's folder. Leaves the name in folder; false when none could be made.
bool CreateOutputFolder(Text& folder) {
  if (StaysBesideTheProgram(folder) && platform::CreateFolder(FolderPath(folder))) return true;
  const Text stamp = DateTimeToText(platform::CurrentDateTime());
  folder = stamp;
  if (platform::CreateFolder(FolderPath(folder))) return true;
  for (int i = 2; i <= kMaxFallbackTries; ++i) {
    folder = ConcatTexts({stamp, " (", NumberToText(i), ")"});
    if (platform::CreateFolder(FolderPath(folder))) return true;
  }
  return false;
}

}  // namespace

void LaunchCrawl() { platform::StartWorker(CrawlNote); }

void CrawlNote() {
  RegexObject regex;
  const Text link = ReadLinkBox();
  Text cookies = kCrawlCookieHeader;
  const Bytes response = WebRequest(link, {.method = 0, .cookies = &cookies});
  const Text page = BytesToText(response);
  Text folder = FolderNameFromPage(page);
  if (!CreateOutputFolder(folder)) {
    AppendLogLine(ConcatTexts({kNotCreated, FolderPath(folder)}));
    regex.End();
    return;
  }
  AppendLogLine(ConcatTexts({kCreated, FolderPath(folder)}));
  const Text strip = CutPictureStrip(page);
  const int count = FindPictureMatches(regex, strip);
  for (int n = 1; n <= count; ++n) {
    const Text match = regex.MatchText(n);
    const Text address = ResizeImageAddress(PictureAddressFromMatch(match), kSize, kSize, kSize);
    AppendLogLine(address);
    const Text path = PictureFilePath(platform::RunDirectory(), folder, n);
    const platform::DownloadResult picture = platform::DownloadBytes(address);
    if (!picture.whole) {
      AppendLogLine(ConcatTexts({kDownloadFailed, address}));
      continue;
    }
    if (!platform::WriteFileBytes(path, picture.body)) {
      AppendLogLine(ConcatTexts({kSaveFailed, path}));
    }
  }
  platform::ShellOpen(FolderPath(folder));
  regex.End();
}
