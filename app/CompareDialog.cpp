#include "app/CompareDialog.h"

#include <commctrl.h>

#include <stdexcept>

#include "app/CompareDialogLayout.h"
#include "app/FileCommands.h"
#include "app/pure/CompareRows.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Report.h"
#include "engine/pure/OXI_IsoTime.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_Layout.h"
#include "ui/Orvex_ListView.h"
#include "ui/Orvex_Window.h"
// Last: it undoes the Windows headers' macros of its member names.
#include "engine/OXI_Processes.h"

namespace orvex::app {

namespace {

TCompareSide SideOf(const TInventory& inventory, const std::string& fileName) {
    return {inventory.Live, fileName, inventory.Info.Machine, IsoTimeFromDateTime(inventory.Info.Timestamp)};
}

RECT ChildRect(HWND parent, HWND child) noexcept {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Tdlg_Compare : public orvex::TDialog {
public:
    explicit Tdlg_Compare(const TComparison& comparison) : comparison_(comparison) {}

    void Execute(HWND owner) {
        const std::string caption = CompareCaption(comparison_.ReportPath);
        orvex::TDialogLayout layout;
        layout.Caption = caption.c_str();
        layout.Rect = {0, 0, CompareDialogWidth, CompareDialogHeight};
        layout.Style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        layout.Controls = CompareControls();
        ShowModal(owner, layout);
    }

protected:
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_INITDIALOG:
            FormCreate();
            return TRUE;
        case WM_SIZE:
            anchors_.Apply(LOWORD(lp), HIWORD(lp));
            return TRUE;
        case WM_GETMINMAXINFO:
            if (minSize_.x > 0) reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = minSize_;
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return FALSE;
            if (LOWORD(wp) == IDOK || LOWORD(wp) == idCompareClose) {
                ::EndDialog(Handle(), IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == idCompareSaveCsv) {
                cmSaveCsv();
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lp);
            if (header.idFrom != idCompareList) return FALSE;
            LRESULT result = 0;
            if (header.code == LVN_COLUMNCLICK)
                list_.ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            else if (header.code == NM_CUSTOMDRAW)
                result = list_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
            else
                return FALSE;
            ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
            return TRUE;
        }
        default:
            return FALSE;
        }
    }

private:
    HWND Item(int id) const noexcept { return ::GetDlgItem(Handle(), id); }

    void FormCreate() {
        ::SetWindowTextA(Item(idCompareSummary), comparison_.Summary.c_str());
        const HWND list = Item(idCompareList);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        const std::vector<std::string> captions = DiffColumnCaptions();
        const auto widths = CompareColumnWidths();
        for (std::size_t i = 0; i < captions.size(); ++i)
            orvex::AddListColumn(list, captions[i].c_str(), i < widths.size() ? widths[i] : 100, LVCFMT_LEFT);
        orvex::ClearListFor(list, comparison_.Rows.size());
        for (const TDiffRow& row : comparison_.Rows) orvex::AppendListRow(list, DiffRowFields(row));
        list_.Attach(list);

        // The controls follow the dialog's size; it gets no smaller than it starts.
        RECT client{};
        ::GetClientRect(Handle(), &client);
        for (const orvex::TControlDecl& c : CompareControls())
            if (const HWND control = Item(c.Id))
                anchors_.Add(control, ChildRect(Handle(), control), client.right, client.bottom, c.Anchors);
        RECT window{};
        ::GetWindowRect(Handle(), &window);
        minSize_ = {window.right - window.left, window.bottom - window.top};
    }

    void cmSaveCsv() {
        std::string fileName;
        if (!AskSaveFileName(Handle(), SaveDifferencesTitle, CsvFilter, CsvExtension, fileName)) return;
        try {
            SaveFileContents(fileName, ListViewCsv(Item(idCompareList)));
        } catch (const std::exception& e) {
            orvex::ShowErrorReport(Handle(), e);
        }
    }

    const TComparison& comparison_;
    orvex::TAnchorLayout anchors_;
    orvex::TSortableList list_;
    POINT minSize_{0, 0};
};

}  // namespace

TComparison CompareWithReportFile(const std::string& reportPath, const TOrvex_ProcessList& current) {
    TComparison comparison;
    comparison.ReportPath = reportPath;
    TInventory before;
    try {
        TOrvex_ProcessList report;
        report.LoadReport(reportPath);
        before = InventoryOf(report);
    } catch (const TNotAReport&) {
        throw std::runtime_error("Cannot compare with " + reportPath + ": the file is not an inventory report.");
    } catch (const std::exception& e) {
        throw std::runtime_error("Cannot compare with " + reportPath + ": " + e.what());
    }
    const TInventory after = InventoryOf(current);
    comparison.Rows = CompareInventories(before, after);
    comparison.Summary = CompareSummary(SideOf(before, reportPath), SideOf(after, current.StorageFileName),
                                        comparison.Rows.size());
    return comparison;
}

void ShowCompareDialog(HWND owner, const TComparison& comparison) {
    Tdlg_Compare dialog(comparison);
    dialog.Execute(owner);
}

}  // namespace orvex::app
