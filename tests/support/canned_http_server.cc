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
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
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

// Polls with a short timeout throughout, so the destructor is never kept waiting.
void CannedHttpServer::Serve() {
  std::vector<int> open_connections;
  while (!stop_) {
    pollfd waiting{listen_fd_, POLLIN, 0};
    int fd = poll(&waiting, 1, 20) > 0 ? accept(listen_fd_, nullptr, nullptr) : -1;
    if (fd < 0) continue;
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
    if (mode_ == Mode::kSilent) {
      open_connections.push_back(fd);
      continue;
    }
    send(fd, answer_.data(), answer_.size(), MSG_NOSIGNAL);  // blocking: all of it, or an error
    shutdown(fd, SHUT_WR);
    close(fd);
  }
  for (int fd : open_connections) close(fd);
}
