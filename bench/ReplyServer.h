#pragma once

#include "platform/TcpSocket.h"

#include <string>
#include <thread>

namespace vantel::bench {

// The far end of every measurement: a blocking loopback server that answers
// each command it reads with one fixed reply, until the client hangs up.
// The floor and the channel under test talk to the same server.
class ReplyServer {
public:
    explicit ReplyServer(std::string reply);
    ~ReplyServer();
    ReplyServer(const ReplyServer&) = delete;
    ReplyServer& operator=(const ReplyServer&) = delete;

    int port() const { return listener_.port(); }

private:
    void serve();

    std::string reply_;
    TcpListener listener_;
    std::thread thread_;
};

} // namespace vantel::bench
