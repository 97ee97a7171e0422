#include "console/InvSave.h"

#include <windows.h>

#include <exception>

#include "engine/OXI_Processes.h"
#include "platform/Orvex_FileWrite.h"
#include "storage/Orvex_ComError.h"

namespace orvex::console {

bool SaveReportReplacing(TOrvex_ProcessList& component, const std::string& fileName, std::string& error) {
    std::string saveError;
    const DWORD code = ReplaceFileWith(fileName, [&](const char* temp) -> DWORD {
        try {
            component.SaveToStorage(temp);
            return 0;
        } catch (const std::exception& e) {
            saveError = e.what();
            return ERROR_WRITE_FAULT;
        }
    });
    if (code == 0) return true;
    error = saveError.empty() ? ComErrorMessage(HRESULT_FROM_WIN32(code)) : saveError;
    return false;
}

}  // namespace orvex::console
