// A loopback TCP server, on a thread of its own, for what a real web server will
// not send: fixed bytes to every connection, or silence.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class CannedHttpServer {
 public:
  enum class Mode {
    kAnswer,  // read the request, send `answer`, close
    kSilent,  // read the request, send nothing, keep the connection open
    kTrickle,  // as kAnswer, but after the headers one byte every 20 ms
    kUnanswered,  // never completes a connection: its queue is full
  };

  CannedHttpServer(Mode mode, std::string answer = std::string());
  ~CannedHttpServer();

  std::string host_port() const { return "127.0.0.1:" + std::to_string(port_); }
  // The bytes of the last request received (up to its empty line).
  std::string LastRequest() const;

 private:
  void Serve();

  Mode mode_;
  std::string answer_;
  int listen_fd_ = -1;
  int port_ = 0;
  int queued_fd_ = -1;  // fills kUnanswered's queue
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::string last_request_;
  std::thread thread_;
};
