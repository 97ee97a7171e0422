#include "tests/wine/support/TestService.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Orvex_Resources.h"
#include "tests/wine/support/TestMode.h"

namespace orvex::test {

namespace {

TScHandle Own(SC_HANDLE h) { return TScHandle(h, &::CloseServiceHandle); }

void StopAndDelete(SC_HANDLE manager, const std::string& name) {
    TScHandle service = Own(::OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS));
    if (!service) return;
    SERVICE_STATUS status{};
    if (::ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) WaitServiceStopped(service.get(), 5000);
    ::DeleteService(service.get());
}

void RemoveLeftoverServices(SC_HANDLE manager) {
    std::vector<std::string> leftovers;
    std::vector<unsigned char> buffer(256 * 1024);
    DWORD needed = 0, returned = 0, resume = 0;
    const std::size_t prefixLength = std::strlen(TInstalledTestService::Prefix);
    if (::EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL,
                              reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()), static_cast<DWORD>(buffer.size()),
                              &needed, &returned, &resume)) {
        const auto* records = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
        for (DWORD i = 0; i < returned; ++i)
            if (std::strncmp(records[i].lpServiceName, TInstalledTestService::Prefix, prefixLength) == 0)
                leftovers.emplace_back(records[i].lpServiceName);
    }
    for (const std::string& name : leftovers) StopAndDelete(manager, name);
}

// The test's own names are ASCII, and the path of the test programs is too.
std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A text as the ANSI functions hand it: in the active code page, with "?"
// for what it lacks.
std::string Narrow(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(std::strlen(narrow.c_str()));
    return narrow;
}

}  // namespace

DWORD ServiceState(const std::string& key) {
    TScHandle manager = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return 0;
    TScHandle service = Own(::OpenServiceA(manager.get(), key.c_str(), SERVICE_QUERY_STATUS));
    SERVICE_STATUS status{};
    if (!service || !::QueryServiceStatus(service.get(), &status)) return 0;
    return status.dwCurrentState;
}

bool StartServiceAndWait(const std::string& key, DWORD timeoutMs) {
    TScHandle manager = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    TScHandle service = Own(::OpenServiceA(manager.get(), key.c_str(), SERVICE_START | SERVICE_QUERY_STATUS));
    if (!service || !::StartServiceA(service.get(), 0, nullptr)) return false;
    SERVICE_STATUS status{};
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (::QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_RUNNING) return true;
        ::Sleep(100);
    }
    return false;
}

bool WaitServiceStopped(SC_HANDLE service, DWORD timeoutMs) {
    SERVICE_STATUS status{};
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (!::QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) return true;
        ::Sleep(100);
    }
    return false;
}

TInstalledTestService::TInstalledTestService(const std::string& suffix) { Install(suffix, nullptr); }

TInstalledTestService::TInstalledTestService(const std::string& suffix, const std::wstring& wideDisplay) {
    Install(suffix, &wideDisplay);
}

void TInstalledTestService::Install(const std::string& suffix, const std::wstring* wideDisplay) {
    // Process ids repeat from run to run in a fresh prefix, and a deleted
    // service can linger in the manager for a while: the tick count keeps
    // the names of two runs apart.
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lu_%llx", static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(::GetTickCount64() & 0xFFFFFF));
    const std::string id = stamp + suffix;
    key_ = Prefix + id;
    display_ = "Orvex Test Service " + id;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    report_ = std::string(temp) + "orvex_test_service_" + id + ".txt";
    binaryPath_ = "\"" + ExeDir() + "orvex_test_service.exe\" \"--report=" + report_ + "\"";

    TScHandle manager = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        error_ = ::GetLastError();
        return;
    }
    if (suffix.empty()) RemoveLeftoverServices(manager.get());
    const char dependencies[] = "PlugPlay\0";  // the list ends with an empty name
    TScHandle service;
    if (wideDisplay) {
        const std::wstring key = Widen(key_);
        const std::wstring& display = *wideDisplay;
        const std::wstring path = Widen(binaryPath_);
        service = Own(::CreateServiceW(manager.get(), key.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       path.c_str(), nullptr, nullptr, L"PlugPlay\0", nullptr, nullptr));
        display_ = Narrow(display);
    } else {
        service = Own(::CreateServiceA(manager.get(), key_.c_str(), display_.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       binaryPath_.c_str(), nullptr, nullptr, dependencies, nullptr, nullptr));
    }
    installed_ = static_cast<bool>(service);
    if (!installed_) error_ = ::GetLastError();
}

TInstalledTestService::~TInstalledTestService() {
    if (installed_) {
        TScHandle manager = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        if (manager) StopAndDelete(manager.get(), key_);
    }
    ::DeleteFileA(report_.c_str());
}

TInstalledServiceBatch::TInstalledServiceBatch(int count) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lu_%llx", static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(::GetTickCount64() & 0xFFFFFF));
    stamp_ = stamp;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    temp_ = temp;
    exe_ = ExeDir() + "orvex_test_service.exe";
    manager_ = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    installed_ = static_cast<bool>(manager_);
    if (!installed_) {
        error_ = ::GetLastError();
        return;
    }
    services_.reserve(count);
    handles_.reserve(count);
    for (int i = 0; i < count && Add(); ++i) {
    }
}

bool TInstalledServiceBatch::Add() {
    if (!installed_) return false;
    const std::size_t i = services_.size();
    const std::string id = stamp_ + "_b" + std::to_string(i);
    TEntry entry;
    entry.key = TInstalledTestService::Prefix + id;
    entry.display = "Orvex Batch Service " + id;
    entry.report = temp_ + "orvex_test_service_" + id + ".txt";
    entry.binaryPath = "\"" + exe_ + "\" \"--report=" + entry.report + "\"";
    entry.group = i % 2 ? "OrvexBatchGroup" : "";
    entry.errorControl = i % 2 ? SERVICE_ERROR_NORMAL : SERVICE_ERROR_IGNORE;
    TScHandle service = Own(
        ::CreateServiceA(manager_.get(), entry.key.c_str(), entry.display.c_str(), SERVICE_ALL_ACCESS,
                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, entry.errorControl, entry.binaryPath.c_str(),
                         entry.group.empty() ? nullptr : entry.group.c_str(), nullptr, nullptr, nullptr, nullptr));
    if (!service) {
        error_ = ::GetLastError();
        installed_ = false;
        return false;
    }
    services_.push_back(std::move(entry));
    handles_.push_back(std::move(service));
    return true;
}

TInstalledServiceBatch::~TInstalledServiceBatch() {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        SERVICE_STATUS status{};
        if (::QueryServiceStatus(handles_[i].get(), &status) && status.dwCurrentState != SERVICE_STOPPED &&
            ::ControlService(handles_[i].get(), SERVICE_CONTROL_STOP, &status))
            WaitServiceStopped(handles_[i].get(), 5000);
        ::DeleteService(handles_[i].get());
        ::DeleteFileA(services_[i].report.c_str());
    }
}

}  // namespace orvex::test
