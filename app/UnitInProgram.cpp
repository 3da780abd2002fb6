#include "app/UnitInProgram.h"

#include "device/Fields.h"
#include "sim/Simulator.h"
#include "site/SiteFile.h"

namespace {

// What a list shows for an event the file names none: its number.
EventNames NumbersAsNames() {
    EventNames names;
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::to_string(i);
    return names;
}

void ForgetSecretsNotIn(const site::SiteFile& file, DeviceData& record) {
    for (const fields::Field& f : fields::NamedFields())
        if (f.secret && fields::InRecord(f) && !site::ValueOf(file, f.name))
            fields::SetFieldValue(record, f, "");
}

}  // namespace

bool UnitOfSiteFile(const site::SiteFile& file, sim::Unit* unit, std::string* error) {
    *unit = sim::DefaultUnit();
    DeviceData& record = unit->record;
    record.settingsBlock[layout::kIdentVersionByte] =
        static_cast<std::uint8_t>(file.unit.recordVersion);
    ForgetSecretsNotIn(file, record);
    if (!site::RecordOfFile(file, record, error)) return false;
    sim::StoreSettings(*unit);
    EventNames names;
    if (!site::EventNamesOfFile(file, &names)) names = NumbersAsNames();
    unit->catalogueLength =
        WriteCatalogue(record.eventCatalogue.data(), layout::kEventCatalogueSize, names);
    return true;
}

UnitInProgram::UnitInProgram() = default;
UnitInProgram::~UnitInProgram() = default;

bool UnitInProgram::Start(const sim::Unit& local) {
    m_simulator = std::make_unique<sim::Simulator>();
    m_simulator->SetLocal(local);
    if (!m_simulator->StartInMemory()) return false;
    m_line = m_simulator->MemoryCable(kUnitInProgramPort);
    return true;
}
