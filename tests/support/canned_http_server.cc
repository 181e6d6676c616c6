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
  listen(listen_fd_, mode_ == Mode::kUnanswered ? 0 : 16);
  getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  // Linux drops a SYN while the accept queue is full, so the next connect waits.
  if (mode_ == Mode::kUnanswered) {
    queued_fd_ = socket(AF_INET, SOCK_STREAM, 0);
    connect(queued_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return;
  }
  thread_ = std::thread([this] { Serve(); });
}

CannedHttpServer::~CannedHttpServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (queued_fd_ >= 0) close(queued_fd_);
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
    size_t at = mode_ == Mode::kTrickle ? answer_.find("\r\n\r\n") + 4 : answer_.size();
    bool open = send(fd, answer_.data(), at, MSG_NOSIGNAL) >= 0;  // blocking: all, or an error
    for (; open && at < answer_.size() && !stop_; ++at) {
      poll(nullptr, 0, 20);
      open = send(fd, &answer_[at], 1, MSG_NOSIGNAL) == 1;
    }
    shutdown(fd, SHUT_WR);
    close(fd);
  }
  for (int fd : open_connections) close(fd);
}
