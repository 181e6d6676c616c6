#include "tests/support/canned_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

CannedHttpServer::CannedHttpServer(Mode mode, std::string answer)
    : mode_(mode), answer_(std::move(answer)) {
  listen_fd_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listen_fd_, 16);
  getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

CannedHttpServer::~CannedHttpServer() {
  stop_ = true;
  thread_.join();
  close(listen_fd_);
}

std::string CannedHttpServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return last_request_;
}

void CannedHttpServer::Serve() {
  std::vector<int> open_connections;
  while (!stop_) {
    pollfd waiting{listen_fd_, POLLIN, 0};
    if (poll(&waiting, 1, 20) <= 0) continue;
    int fd = accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) continue;
    if (mode_ == Mode::kSilent) {
      open_connections.push_back(fd);
      continue;
    }
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
      pollfd readable{fd, POLLIN, 0};
      if (poll(&readable, 1, 20) <= 0) continue;
      ssize_t got = recv(fd, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request.append(buffer, got);
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      last_request_ = request;
    }
    if (mode_ == Mode::kReadThenSilent) {
      open_connections.push_back(fd);
      continue;
    }
    size_t sent = 0;
    while (sent < answer_.size()) {
      ssize_t wrote = send(fd, answer_.data() + sent, answer_.size() - sent, MSG_NOSIGNAL);
      if (wrote <= 0) break;
      sent += wrote;
    }
    shutdown(fd, SHUT_WR);
    close(fd);
  }
  for (int fd : open_connections) close(fd);
}
