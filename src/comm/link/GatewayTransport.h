#pragma once

#include "platform/ByteStream.h"
#include "platform/TcpSocket.h"

#include <memory>
#include <string>

namespace vantel {

// Codes the gateway link records besides the Winsock codes of its TCP
// connection and the system codes of its serial port.
namespace GatewayError {
inline constexpr int ConnectFailed = 20000;   // refused, or the gateway closed the connection
inline constexpr int NotRunning = 20001;      // send refused
inline constexpr int NotClosed = 20002;       // open refused
inline constexpr int ConnectTimedOut = 20003; // no answer to the connect within its time-out
inline constexpr int FrameOverflow = 20006;   // a frame outgrew its 128 bytes
} // namespace GatewayError

enum class GatewayConnection { Lan, Usb };

// How the gateway is reached: TCP to host:port, or the COM port's device.
struct GatewayTransport {
    GatewayConnection connection = GatewayConnection::Lan;
    std::string host;
    int port = 0;
    int comPort = 0;

    // The same gateway: same kind, and host and port for TCP, or the same
    // COM port. A second unit may share a running link only then.
    bool sameGateway(const GatewayTransport& other) const;
};

struct GatewayOpenOptions {
    Ipv4Address bindAddress = kAnyAddress; // the adapter chosen in the main window
};

// The gateway's TCP connect waits this long whatever the command-line
// time-out says: that one is for the unit channels and the search.
inline constexpr int kGatewayConnectTimeoutMs = 3000;

// Every send and receive on the gateway's TCP connection gives up after this.
inline constexpr int kGatewayTransferTimeoutMs = 1000;

// Opens the stream; 0, or the code the link records: 3 for a host name that
// does not resolve, ConnectTimedOut, ConnectFailed, or a system code of the
// serial port.
int OpenGatewayStream(const GatewayTransport& transport, const GatewayOpenOptions& options,
                      std::unique_ptr<ByteStream>& stream);

} // namespace vantel
