#include "Dialect.h"

#include "AsciiDialect.h"
#include "NineByteDialect.h"
#include "TwoByteDialect.h"
#include "registry/ModelCatalogue.h"

namespace vantel::sim {

bool SpeaksAscii(const ModelRow& row)
{
    return row.isAnalog() || row.isGateway() ||
           row.has(ModelFlag::EightChannel | ModelFlag::K29 | ModelFlag::ThirdWireless);
}

bool HasSecondPort(const ModelRow& row)
{
    return row.has(ModelFlag::TwoPort);
}

std::unique_ptr<Dialect> MakeControlDialect(const ModelRow& row)
{
    if (SpeaksAscii(row))
        return std::make_unique<AsciiDialect>(row);
    return std::make_unique<TwoByteDialect>(row);
}

std::unique_ptr<Dialect> MakeSecondPortDialect(const ModelRow& row)
{
    return std::make_unique<NineByteDialect>(row);
}

Bytes Dialect::staleReply(const Bytes& reply, const Bytes& previousReply) const
{
    if (previousReply.size() == reply.size())
        return previousReply;
    return Bytes(reply.size(), 0);
}

} // namespace vantel::sim
