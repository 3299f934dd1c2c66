#include "test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

TestServer::TestServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  listen(listener_, 16);
  socklen_t len = sizeof addr;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TestServer::~TestServer() {
  stop_ = true;
  thread_.join();
  close(listener_);
}

std::string TestServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> TestServer::Requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string TestServer::Response(int status, const std::string& body,
                                 const std::vector<std::string>& headers) {
  std::string r = "HTTP/1.1 " + std::to_string(status) + " X\r\n";
  for (const std::string& h : headers) r += h + "\r\n";
  r += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  return r;
}

void TestServer::Serve() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    Handle(fd);
    close(fd);
  }
}

void TestServer::Handle(int fd) {
  std::string data;
  char buf[4096];
  size_t headerEnd = std::string::npos;
  auto readMore = [&] {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 2000) <= 0) return false;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) return false;
    data.append(buf, n);
    return true;
  };
  while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos) {
    if (!readMore()) return;
  }
  RecordedRequest request;
  size_t at = 0;
  const std::string head = data.substr(0, headerEnd + 2);
  size_t contentLength = 0;
  while (at < head.size()) {
    const size_t end = head.find("\r\n", at);
    const std::string line = head.substr(at, end - at);
    at = end + 2;
    if (request.requestLine.empty()) {
      request.requestLine = line;
      continue;
    }
    request.headerLines.push_back(line);
    if (strncasecmp(line.c_str(), "content-length:", 15) == 0) {
      contentLength = std::strtoul(line.c_str() + 15, nullptr, 10);
    }
  }
  while (data.size() < headerEnd + 4 + contentLength) {
    if (!readMore()) break;
  }
  request.body = data.substr(headerEnd + 4, contentLength);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const Reply reply = handler_(request);
  size_t sent = 0;
  while (sent < reply.bytes.size()) {
    const ssize_t n = send(fd, reply.bytes.data() + sent, reply.bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(reply.stallMs);
  while (!stop_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
