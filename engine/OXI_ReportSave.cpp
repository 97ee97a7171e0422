#include "engine/OXI_ReportSave.h"

#include <windows.h>

#include <exception>
#include <stdexcept>

#include "engine/OXI_Common.h"
#include "platform/Orvex_FileWrite.h"
#include "storage/Orvex_ComError.h"

namespace orvex {

void SaveReportReplacing(TOrvex_OXIC_Component& component, const std::string& fileName) {
    std::exception_ptr saveFailure;
    std::string keptAs;
    const DWORD code = ReplaceFileWith(
        fileName,
        [&](const char* temp) -> DWORD {
            try {
                component.SaveToStorage(temp);
                return 0;
            } catch (...) {
                saveFailure = std::current_exception();
                return ERROR_WRITE_FAULT;
            }
        },
        &keptAs);
    if (saveFailure) std::rethrow_exception(saveFailure);
    if (code == 0) return;
    if (keptAs.empty()) RaiseComError(HRESULT_FROM_WIN32(code));
    throw std::runtime_error(ComErrorMessage(HRESULT_FROM_WIN32(code)) + KeptAsNote(keptAs));
}

}  // namespace orvex
