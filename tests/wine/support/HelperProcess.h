// Starts orvex_test_helper.exe and reads what it reports about itself.
// The process is terminated when the object goes out of scope.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Orvex_Resources.h"

namespace orvex::test {

class THelperProcess {
public:
    // Starts the helper with the given arguments and waits (up to 20 s) for
    // its "ready" line. started() tells whether that worked.
    explicit THelperProcess(const std::string& args = "");
    // The same for another build of the helper, given by its full path.
    THelperProcess(const std::string& args, const std::string& exePath);
    ~THelperProcess();
    THelperProcess(const THelperProcess&) = delete;
    THelperProcess& operator=(const THelperProcess&) = delete;

    bool started() const { return ready_; }
    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_.get(); }
    // The first value reported for key, or "" when none.
    std::string value(const std::string& key) const;
    // Every value reported for key, in order.
    std::vector<std::string> values(const std::string& key) const;
    // A reported hexadecimal value as a number.
    unsigned long long hex(const std::string& key) const;
    bool hasWindow() const { return value("ready") == "window"; }
    // Waits for the process to end; true when it ended within timeoutMs.
    bool waitForExit(DWORD timeoutMs) const;

private:
    orvex::THandle process_;
    DWORD pid_ = 0;
    bool ready_ = false;
    std::multimap<std::string, std::string> entries_;
    std::vector<std::pair<std::string, std::string>> ordered_;
};

}  // namespace orvex::test
