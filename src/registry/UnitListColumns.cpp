#include "registry/UnitListColumns.h"

#include "registry/ModelCatalogue.h"

namespace vantel {

UnitListRow UnitListColumns(const UnitRecord& record)
{
    const ModelRow& model = ModelAt(record.modelRow);
    const bool usbGateway = model.isGateway() && record.connectionKind == kConnectionUsb;
    return {record.name, usbGateway ? "COM" + std::to_string(record.comPort) : record.host,
            std::to_string(model.isGateway() ? record.node : record.controlPort), std::string(model.shortName)};
}

} // namespace vantel
