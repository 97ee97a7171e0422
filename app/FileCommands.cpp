#include "app/FileCommands.h"

#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "app/pure/CompareRows.h"
#include "platform/Orvex_ComDlg32.h"
#include "platform/Orvex_FileWrite.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_SystemMessage.h"
#include "platform/Orvex_WideText.h"
#include "ui/Orvex_ListView.h"

namespace orvex::app {

namespace {

std::vector<std::string> AsUtf8(std::vector<std::string> texts) {
    for (std::string& t : texts) t = AnsiToUtf8(t);
    return texts;
}

struct TFileDialog {
    char File[MAX_PATH * 4] = {};
    OPENFILENAMEA Ofn{};

    TFileDialog(HWND owner, const char* title, const char* filter, const std::string& initial) {
        lstrcpynA(File, initial.c_str(), sizeof File);
        Ofn.lStructSize = OpenFileNameSize();
        Ofn.hwndOwner = owner;
        Ofn.lpstrFilter = filter;
        Ofn.nFilterIndex = 1;
        Ofn.lpstrFile = File;
        Ofn.nMaxFile = sizeof File;
        Ofn.lpstrTitle = title;
        Ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    }
};

}  // namespace

DWORD OpenFileNameSize() noexcept {
    return IsNT() && OSMajorVersion() >= 5 ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
}

bool AskOpenFileName(HWND owner, const char* title, const char* filter, std::string& fileName) {
    TFileDialog dialog(owner, title, filter, {});
    dialog.Ofn.Flags |= OFN_FILEMUSTEXIST;
    if (!orvex::GetOpenFileNameA(&dialog.Ofn)) return false;
    fileName = dialog.File;
    return true;
}

bool AskSaveFileName(HWND owner, const char* title, const char* filter, const char* defaultExtension,
                     std::string& fileName) {
    TFileDialog dialog(owner, title, filter, {});
    dialog.Ofn.Flags |= OFN_OVERWRITEPROMPT;
    dialog.Ofn.lpstrDefExt = defaultExtension;
    if (!orvex::GetSaveFileNameA(&dialog.Ofn)) return false;
    fileName = dialog.File;
    return true;
}

std::string ListViewCsv(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const std::vector<std::string> captions = orvex::ListColumnCaptions(list);
    rows.push_back(AsUtf8(captions));
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < captions.size(); ++column)
            cells.push_back(ListCellText(list, row, static_cast<int>(column)));
        rows.push_back(AsUtf8(std::move(cells)));
    }
    return CsvDocument(rows);
}

void SaveFileContents(const std::string& fileName, std::string_view contents) {
    std::string keptAs;
    if (const DWORD error = WriteWholeFile(fileName, contents, &keptAs))
        throw std::runtime_error("Cannot write " + fileName + ": " + SystemErrorText(error) + KeptAsNote(keptAs));
}

}  // namespace orvex::app
