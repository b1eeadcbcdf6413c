#include "comm/link/GatewayTransport.h"

#include "platform/SerialPort.h"
#include "platform/WinsockError.h"

namespace vantel {

namespace {

int OpenTcp(const GatewayTransport& transport, const GatewayOpenOptions& options, std::unique_ptr<ByteStream>& stream)
{
    Ipv4Address address = 0;
    if (const int error = ResolveIPv4(transport.host, address))
        return error;
    TcpSocket socket;
    const ConnectOptions connect{options.bindAddress, kGatewayConnectTimeoutMs, true};
    if (const int error = socket.connect(address, transport.port, connect))
        return error == WinsockError::TimedOut ? GatewayError::ConnectTimedOut : GatewayError::ConnectFailed;
    if (const int error = socket.setTimeouts(kGatewayTransferTimeoutMs))
        return error;
    stream = std::make_unique<TcpStream>(std::move(socket));
    return 0;
}

int OpenSerial(const GatewayTransport& transport, std::unique_ptr<ByteStream>& stream)
{
    auto port = std::make_unique<SerialPort>();
    if (const int error = port->open(transport.comPort))
        return error;
    stream = std::move(port);
    return 0;
}

} // namespace

bool GatewayTransport::sameGateway(const GatewayTransport& other) const
{
    if (connection != other.connection)
        return false;
    if (connection == GatewayConnection::Usb)
        return comPort == other.comPort;
    return host == other.host && port == other.port;
}

int OpenGatewayStream(const GatewayTransport& transport, const GatewayOpenOptions& options,
                      std::unique_ptr<ByteStream>& stream)
{
    stream.reset();
    return transport.connection == GatewayConnection::Lan ? OpenTcp(transport, options, stream)
                                                          : OpenSerial(transport, stream);
}

} // namespace vantel
