#include "engine/pure/OXI_RecordFields.h"

#include <cinttypes>
#include <cstdio>
#include <tuple>

#include "engine/pure/OXI_IsoTime.h"
#include "platform/pure/Orvex_Datetime.h"
#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex {

namespace {

using P = TProcessInfo;
using T = TThreadInfo;
using M = TModuleInfo;
using D = TDriverInfo;
using S = TServiceInfo;
using H = TStorageInfoRecord;

// Ids of the header's summary-information set.
constexpr std::uint32_t SubjectId = 3;   // the machine
constexpr std::uint32_t KeywordsId = 5;  // the system's name
constexpr std::uint32_t CreatedId = 12;  // the time of the save
constexpr std::uint32_t AppNameId = 18;  // suite and version
constexpr std::uint32_t RightsId = 19;   // the user's rights

std::int64_t CpuTime(const P& p) { return p.UserTime + p.KernelTime; }
std::int64_t StartType(const S& s) { return s.Startup; }
std::int64_t State(const S& s) { return s.Status; }
std::int64_t Type(const S& s) { return s.Typ; }
std::string Path(const D& d) { return d.Name.str(); }

constexpr TField<P> ProcessTable[] = {
    Field<&P::PID>("PID", "pid").InColumn(2, "PID"),
    Field<&P::Name>("Name", "name").InColumn(1, "Name"),
    Field<&P::ImageName>("ImageName", "imageName").InColumn(5, "Image Name").ComparedAs("path"),
    Field<&P::UserName>("UserName", "userName").InColumn(4, "User").ComparedAs("user", true),
    Field<&P::Priority>("Priority", "priority").InColumn(7, "Priority").StoredAs(TWiden::Zero),
    Field<&P::Usage>("Usage", "usage"),
    Field<&P::ParentPID>("ParentPID", "parentPid").InColumn(6, "Parent PID"),
    Field<&P::HandleCount>("HandleCount", "handleCount").InColumn(9, "Handles"),
    Field<&P::ThreadCount>("ThreadCount", "threadCount").InColumn(8, "Threads"),
    Field<&P::HeapID>("HeapID", "heapId").ShownAs(TShow::Address),
    Field<&P::ModuleID>("ModuleID", "moduleId"),
    Field<&P::CreateTime>("CreateTime", "createTime").ShownAs(TShow::Time).InColumn(10, "Created"),
    Field<&P::UserTime>("UserTime", "userTime"),
    Field<&P::KernelTime>("KernelTime", "kernelTime"),
    Shown<P>(TShow::CpuTime, &CpuTime).InColumn(3, "CPU Time"),
    Field<&P::Signer>("Signer", "signer").InColumn(11, "Signer").OnlyWhenKnown(),
    Field<&P::Sha256>("SHA256", "sha256").InColumn(12, "SHA-256").ComparedAs("sha256").OnlyWhenKnown(),
};

constexpr TField<T> ThreadTable[] = {
    Field<&T::TID>(nullptr, "tid"),
    Field<&T::OwnerPID>(nullptr, "ownerPid"),
    Field<&T::Priority>(nullptr, "priority"),
    Field<&T::BasePriority>(nullptr, "basePriority"),
    Field<&T::CreateTime>(nullptr, "createTime").ShownAs(TShow::Time),
    Field<&T::KernelTime>(nullptr, "kernelTime"),
    Field<&T::UserTime>(nullptr, "userTime"),
    Field<&T::WaitTime>(nullptr, "waitTime"),
    Field<&T::StartAddress>(nullptr, "startAddress").ShownAs(TShow::Address),
    Field<&T::ContextSwitches>(nullptr, "contextSwitches"),
    Field<&T::ThreadState>(nullptr, "threadState"),
    Field<&T::WaitReason>(nullptr, "waitReason"),
};

constexpr TField<M> ModuleTable[] = {
    Field<&M::Name>(nullptr, "name"),
    Field<&M::ImageName>(nullptr, "imageName"),
    Field<&M::Size>(nullptr, "size"),
    Field<&M::EntryPoint>(nullptr, "entryPoint").ShownAs(TShow::Address),
    Field<&M::Base>(nullptr, "base").ShownAs(TShow::Address),
    Field<&M::Signer>(nullptr, "signer").OnlyWhenKnown(),
    Field<&M::Sha256>(nullptr, "sha256").OnlyWhenKnown(),
};

constexpr TField<D> DriverTable[] = {
    Field<&D::Name>("Name", "name").InColumn(4, "Location").ComparedAs("path"),
    Field<&D::LoadCount>("LoadCount", "loadCount").InColumn(3, "Load Cnt"),
    Field<&D::Flags>("Flags", "flags"),
    Field<&D::Base>("Base", "base").ShownAs(TShow::Address).InColumn(2, "Base Address").ComparedAs("base"),
    Field<&D::Size>("Size", "size").InColumn(5, "Size").ComparedAs("size"),
    Shown<D>(TShow::FileName, &Path).InColumn(1, "Name"),
    Field<&D::Signer>("Signer", "signer").InColumn(6, "Signer").OnlyWhenKnown(),
    Field<&D::Sha256>("SHA256", "sha256").InColumn(7, "SHA-256").ComparedAs("sha256").OnlyWhenKnown(),
};

constexpr TField<S> ServiceTable[] = {
    Field<&S::Name>("Name", "name").InColumn(4, "Name"),
    Field<&S::DisplayName>("DisplayName", "displayName").InColumn(1, "Display Name").ComparedAs("display name"),
    Field<&S::ImageName>("ImageName", "imageName").InColumn(6, "Image Name").ComparedAs("path"),
    Field<&S::ObjectName>("ObjectName", "objectName").InColumn(7, "Account").ComparedAs("account", true),
    Field<&S::Description>("Description", "description"),
    Field<&S::Group>("Group", "group").InColumn(8, "Group"),
    Field<&S::DependOnService>("DependOnService", "dependOnService")
        .InColumn(9, "Dependencies")
        .ComparedAs("dependencies"),
    Field<&S::Startup>("Startup", "startup"),
    Shown<S>(TShow::ServiceStartType, &StartType, "startupName").InColumn(3, "Startup Type").ComparedAs("start type"),
    Field<&S::Status>("Status", "status"),
    Shown<S>(TShow::ServiceState, &State, "statusName").InColumn(2, "Status").ComparedAs("state"),
    Field<&S::Tag>("Tag", "tag").StoredAs(TWiden::Sign),
    Field<&S::ErrCtrl>("ErrCtrl", "errCtrl").StoredAs(TWiden::Sign),
    Field<&S::Typ>("Typ", "typ"),
    Shown<S>(TShow::ServiceType, &Type, "typeName").InColumn(5, "Type").ComparedAs("type"),
};

constexpr TField<H> HeaderTable[] = {
    FieldWithId<&H::Machine>(SubjectId, "machine"),
    FieldWithId<&H::Application>(AppNameId, "application"),
    FieldWithId<&H::OSName>(KeywordsId, "osName"),
    Field<&H::Platform>("OS.Platform", "platform"),
    Field<&H::MajorVersion>("OS.MajorVersion", "majorVersion"),
    Field<&H::MinorVersion>("OS.MinorVersion", "minorVersion"),
    Field<&H::BuildNumber>("OS.BuildNumber", "buildNumber"),
    // Reports name the service pack "OS.CSD"; "OS.CSDVersion" is taken
    // first where a file has it.
    Field<&H::CSDVersion>("OS.CSD", "csdVersion").ReadFirst("OS.CSDVersion"),
    FieldWithId<&H::Timestamp>(CreatedId, "timestamp"),
    FieldWithId<&H::Rights>(RightsId, "rights"),
    Field<&H::LoggedUser>("OS.LoggedUser", "loggedUser"),
    Field<&H::Account>("OS.Account", "account"),
    Field<&H::VMWare>("VMWare", "vmware"),
    Field<&H::VPC>("VPC", "vpc"),
    Field<&H::TimestampUtc>("TimestampUTC", "timestampUtc").ShownAs(TShow::Time).OnlyWhenKnown(),
};

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, value);
    return text;
}

}  // namespace

namespace {

template <typename TRecord>
using TTable = std::span<const TField<TRecord>>;
constexpr std::tuple Tables{TTable<P>(ProcessTable), TTable<T>(ThreadTable),  TTable<M>(ModuleTable),
                            TTable<D>(DriverTable),  TTable<S>(ServiceTable), TTable<H>(HeaderTable)};

}  // namespace

template <typename TRecord>
std::span<const TField<TRecord>> FieldsOf() {
    return std::get<TTable<TRecord>>(Tables);
}

// The tables of every record kind, for the other translation units.
template std::span<const TField<P>> FieldsOf<P>();
template std::span<const TField<T>> FieldsOf<T>();
template std::span<const TField<M>> FieldsOf<M>();
template std::span<const TField<D>> FieldsOf<D>();
template std::span<const TField<S>> FieldsOf<S>();
template std::span<const TField<H>> FieldsOf<H>();

std::string ShownNumber(TShow show, std::int64_t value) {
    switch (show) {
    case TShow::Address:
        return Hex(static_cast<std::uint64_t>(value));
    case TShow::Time:
        return IsoTimeFromFileTime(value);
    case TShow::CpuTime:
        return FormatCpuTime(value);
    case TShow::ServiceState:
        return ServiceStateName(value);
    case TShow::ServiceStartType:
        return ServiceStartTypeName(value);
    case TShow::ServiceType:
        return ServiceTypeName(value);
    default:
        return std::to_string(value);
    }
}

std::string ShownText(TShow show, const std::string& text) {
    if (show != TShow::FileName) return text;
    const auto cut = text.find_last_of("\\:");
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

std::string ShownReal(TShow, double value) { return IsoTimeFromDateTime(value); }

}  // namespace orvex
