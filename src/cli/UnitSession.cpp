#include "cli/UnitSession.h"

#include "cli/CliTexts.h"
#include "panels/framework/UnitCheck.h"
#include "platform/TcpSocket.h"
#include "registry/UnitRecord.h"

#include <ostream>

namespace vantel::ctl {
namespace {

struct HostPort {
    std::string host;
    int port = kDefaultControlPort;
};

std::optional<HostPort> parseHostPort(const std::string& text)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos)
        return HostPort{text};
    const auto port = ParseWholeNumber(text.substr(colon + 1));
    if (!port || *port <= 0 || *port > 65535)
        return std::nullopt;
    return HostPort{text.substr(0, colon), *port};
}

} // namespace

UnitSession::~UnitSession()
{
    // Workers go first: they call into their channels.
    analogWorker_.reset();
    digitalWorker_.reset();
}

std::unique_ptr<UnitSession> UnitSession::open(CtlArgs& args, std::ostream& err, int& exitCode)
{
    exitCode = kExitUsage;
    const auto row = args.number("--model");
    const int secondPort = args.number("--second-port").value_or(kDefaultSecondPort);
    const int timeoutOption = args.number("--timeout").value_or(0);
    if (!args.error().empty()) {
        err << args.error() << "\n";
        return nullptr;
    }
    if (args.positional().empty()) {
        err << "missing HOST[:PORT]\n";
        return nullptr;
    }
    const auto target = parseHostPort(args.positional().front());
    if (!target) {
        err << "bad port in " << args.positional().front() << "\n";
        return nullptr;
    }
    if (!row || !IsKnownModelRow(*row)) {
        err << ModelRowUsage() << "\n";
        return nullptr;
    }
    Ipv4Address bind = kAnyAddress;
    if (const auto adapter = args.option("--adapter"); adapter && ResolveIPv4(*adapter, bind) != 0) {
        err << "bad --adapter address " << *adapter << "\n";
        return nullptr;
    }
    const ModelRow& model = ModelAt(*row);
    if (model.isGateway()) {
        err << "units behind a gateway are reached through the gateway link, which vantelctl does not speak yet\n";
        return nullptr;
    }

    exitCode = kExitRefused;
    std::unique_ptr<UnitSession> session(new UnitSession(model));
    const UnitLocation where{target->host, target->port, secondPort};
    std::string failure;
    if (model.isAnalog()) {
        session->analogChannel_ = std::make_unique<CAnalogChannel>(timeoutOption);
        failure = ConnectDirect(*session->analogChannel_, model, where, bind);
        session->analogWorker_ = std::make_unique<AnalogWorker>(*session->analogChannel_);
    } else {
        session->digitalChannel_ = std::make_unique<CDigitalChannel>(timeoutOption);
        failure = ConnectDirect(*session->digitalChannel_, model, where, bind);
        session->digitalWorker_ = std::make_unique<DigitalWorker>(*session->digitalChannel_);
    }
    if (!failure.empty()) {
        err << failure << "\n";
        return nullptr;
    }
    exitCode = kExitOk;
    return session;
}

} // namespace vantel::ctl
