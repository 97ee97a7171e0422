// Installs orvex_test_service.exe as a demand-start service of the test
// prefix (own process, dependency on PlugPlay) and removes it again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Orvex_Resources.h"

namespace orvex::test {

class TInstalledTestService {
public:
    // Key "OrvexTestSvc_<pid>_<ticks><suffix>", display "Orvex Test Service <pid>_<ticks><suffix>".
    // Services of that prefix left by a crashed run are removed first.
    explicit TInstalledTestService(const std::string& suffix = "");
    // The same with the display name WideDisplay, created through
    // CreateServiceW; display() is that name as the ANSI functions hand it
    // (characters the code page lacks become "?").
    TInstalledTestService(const std::string& suffix, const std::wstring& wideDisplay);
    ~TInstalledTestService();
    TInstalledTestService(const TInstalledTestService&) = delete;
    TInstalledTestService& operator=(const TInstalledTestService&) = delete;

    bool installed() const { return installed_; }
    DWORD error() const { return error_; }
    const std::string& key() const { return key_; }
    const std::string& display() const { return display_; }
    // The file the service writes the arguments it was started with into.
    const std::string& report() const { return report_; }
    // The command line it was installed with: quoted path and a quoted argument.
    const std::string& binaryPath() const { return binaryPath_; }

    static constexpr const char* Prefix = "OrvexTestSvc_";

private:
    // Names the service and creates it, with a UTF-16 display name when one is given.
    void Install(const std::string& suffix, const std::wstring* wideDisplay);
    std::string key_, display_, report_, binaryPath_;
    bool installed_ = false;
    DWORD error_ = 0;
};

// The service's state (SERVICE_STOPPED, SERVICE_RUNNING, ...); 0 when it
// cannot be queried.
DWORD ServiceState(const std::string& key);
// Starts the service and waits until it runs; true when it does.
bool StartServiceAndWait(const std::string& key, DWORD timeoutMs);

// Many services of the test prefix at once, as a workstation has them: each a
// demand-start own-process service of orvex_test_service.exe with a report
// file of its own, error control and load-order group alternating from one
// service to the next. All are stopped and deleted with the batch, also the
// ones created before a failure.
class TInstalledServiceBatch {
public:
    struct TEntry {
        std::string key, display, binaryPath, report, group;
        DWORD errorControl = 0;
    };

    // Creates Count services; installed() tells whether all were created.
    explicit TInstalledServiceBatch(int count);
    ~TInstalledServiceBatch();
    TInstalledServiceBatch(const TInstalledServiceBatch&) = delete;
    TInstalledServiceBatch& operator=(const TInstalledServiceBatch&) = delete;

    // True when every service asked for so far was created.
    bool installed() const { return installed_; }
    // Creates one more service; false (with error() set) when it cannot.
    bool Add();
    DWORD error() const { return error_; }
    const std::vector<TEntry>& services() const { return services_; }

private:
    std::vector<TEntry> services_;
    std::vector<TScHandle> handles_;
    TScHandle manager_;
    std::string stamp_, exe_, temp_;
    bool installed_ = false;
    DWORD error_ = 0;
};

// Waits until the service is stopped (or cannot be queried any more).
bool WaitServiceStopped(SC_HANDLE service, DWORD timeoutMs);

}  // namespace orvex::test
