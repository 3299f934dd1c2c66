// A small HTTP server on 127.0.0.1 and a free port, for tests. It serves one
// connection at a time on its own thread, records every request raw, and
// answers with what the test's handler returns.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct RecordedRequest {
  std::string requestLine;
  std::vector<std::string> headerLines;  // in order, without CR LF
  std::string body;
};

struct Reply {
  std::string bytes;  // the raw response
  int stallMs = 0;    // wait this long after sending, before closing
};

class TestServer {
 public:
  using Handler = std::function<Reply(const RecordedRequest&)>;
  explicit TestServer(Handler handler);
  ~TestServer();

  int port() const { return port_; }
  std::string Url(const std::string& path) const;
  std::vector<RecordedRequest> Requests();

  // A response with the status, extra header lines and body.
  static std::string Response(int status, const std::string& body,
                              const std::vector<std::string>& headers = {});

 private:
  void Serve();
  void Handle(int fd);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::thread thread_;
};
