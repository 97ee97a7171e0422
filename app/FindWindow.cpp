#include "app/FindWindow.h"

#include <commctrl.h>

#include <array>
#include <unordered_map>
#include <vector>

#include "app/DetailsLists.h"
#include "app/PrcDetails.h"
#include "app/PrcDetailsLayout.h"
#include "app/pure/FindRows.h"
#include "app/pure/PrcListRows.h"
#include "platform/Orvex_Dpi.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "ui/Orvex_Dialogs.h"
#include "ui/Orvex_DpiChange.h"
#include "ui/Orvex_GuiResources.h"

namespace orvex::app {

namespace {

// Posted by the window's check job after each answer.
constexpr UINT WmFindChecked = WM_APP + 1;

const orvex::TWindowClassDecl FindClass{FindClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_BTNFACE + 1,
                                        MAKEINTRESOURCEA(1)};

constexpr std::array<orvex::TControlDecl, 5> Controls{{
    {idFindLabel, "STATIC", "&Find:", {8, 12, 40, 16}, SS_LEFT, 0, orvex::akTopLeft},
    {idFindText,
     "EDIT",
     "",
     {50, 8, 470, 22},
     ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE,
     orvex::akLeft | orvex::akTop | orvex::akRight},
    {idFindButton,
     "BUTTON",
     "Find",
     {528, 7, 104, 24},
     BS_DEFPUSHBUTTON | WS_TABSTOP,
     0,
     orvex::akTop | orvex::akRight},
    {idFindList,
     WC_LISTVIEWA,
     "",
     {8, 38, 624, 292},
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
     0,
     orvex::akAll},
    {idFindStatus, "STATIC", "", {8, 336, 624, 16}, SS_LEFT, 0, orvex::akLeft | orvex::akRight | orvex::akBottom},
}};

std::string ControlText(HWND control) {
    char text[1024] = {};
    ::GetWindowTextA(control, text, sizeof text);
    return text;
}

// Every process and handle record of the component, copied out.
TProcList CopyProcesses(const TOrvex_ProcessList& procList) {
    TProcList processes(static_cast<std::size_t>(procList.ProcessCount()));
    for (std::size_t i = 0; i < processes.size(); ++i) procList.GetProcess(static_cast<std::uint32_t>(i), processes[i]);
    return processes;
}

THandleList CopyHandles(const TOrvex_ProcessList& procList) {
    THandleList handles(static_cast<std::size_t>(procList.HandleCount()));
    for (std::size_t i = 0; i < handles.size(); ++i) procList.GetHandle(static_cast<std::uint32_t>(i), handles[i]);
    return handles;
}

}  // namespace

Twnd_Find::Twnd_Find(HWND owner, TOrvex_ProcessList& procList, std::function<void()> detailsClosed)
    : procList_(procList), detailsClosed_(std::move(detailsClosed)) {
    // Laid out for 96 DPI: the window opens at its owner's.
    const int dpi = orvex::DpiOfWindow(owner);
    Create(FindClass, FindCaption, WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, WS_EX_CONTROLPARENT, Centered, Centered,
           orvex::ScaledToDpi(FindClientWidth, dpi), orvex::ScaledToDpi(FindClientHeight, dpi), owner);
}

Twnd_Find::~Twnd_Find() { DestroyHandle(); }

void Twnd_Find::Show() {
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::SetFocus(FindText());
    ::SendMessageA(FindText(), EM_SETSEL, 0, -1);
}

void Twnd_Find::cmFind() {
    const std::string text = ControlText(FindText());
    orvex::TBusyCursor busy;
    const TProcList processes = CopyProcesses(procList_);
    // Names and paths are texts of the ANSI code page, whose double-byte
    // characters the search keeps whole.
    const auto hits = FindHandlesAndModules(processes, CopyHandles(procList_), text, IsAnsiLeadByte);
    // Each row carries its process, the first of its identifier as the
    // search names it; a handle whose owner has no record has none (-1).
    // The row's item data is also the number of its hit.
    std::unordered_map<std::uint32_t, int> indexOf;
    for (std::size_t i = 0; i < processes.size(); ++i) indexOf.emplace(processes[i].PID, static_cast<int>(i));
    resultRows_.Clear();
    std::vector<std::intptr_t> data;
    data.reserve(hits.size());
    for (const TFindHit& hit : hits) {
        const auto it = indexOf.find(hit.ProcessID);
        const int index = it == indexOf.end() ? -1 : it->second;
        data.push_back(
            resultRows_.Add(index, index < 0 ? TRecordKey{} : ProcessKey(processes[static_cast<std::size_t>(index)])));
    }
    hits_ = hits;
    rowTexts_ = FindRows(hits, IsNT());
    rowData_ = std::move(data);
    StartChecks();
    ShowResults();
}

void Twnd_Find::StartChecks() {
    checks_.reset();
    checkFiles_ = ModuleHitFiles(hits_);
    if (!ImageChecksOn() || checkFiles_.Paths.empty()) return;
    for (const std::vector<std::size_t>& hitsOfFile : checkFiles_.Hits)
        for (const std::size_t hit : hitsOfFile) rowTexts_[hit][FindSignerColumn] = CheckingText;
    const HWND window = Handle();
    checks_ = std::make_unique<TImageCheckJob>(checkFiles_.Paths,
                                               [window] { ::PostMessageA(window, WmFindChecked, 0, 0); });
}

void Twnd_Find::ChecksAnswered() {
    if (!checks_) return;
    const std::vector<TImageCheckJob::TAnswer> answers = checks_->TakeAnswers();
    if (answers.empty()) return;
    // The row of each hit the filter shows (a row's item data is its hit).
    const HWND list = FindList();
    std::vector<int> rowOfHit(hits_.size(), -1);
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row)
        if (const auto hit = orvex::ListRowData(list, row);
            hit && *hit >= 0 && static_cast<std::size_t>(*hit) < hits_.size())
            rowOfHit[static_cast<std::size_t>(*hit)] = row;
    for (const TImageCheckJob::TAnswer& a : answers)
        for (const std::size_t hit : checkFiles_.Hits[a.Index]) {
            rowTexts_[hit][FindSignerColumn] = a.Check.Signer;
            if (rowOfHit[hit] >= 0) orvex::SetListCellText(list, rowOfHit[hit], FindSignerColumn, a.Check.Signer);
        }
}

void Twnd_Find::ShowResults() {
    TListRows rows;
    std::vector<std::intptr_t> data;
    for (std::size_t i = 0; i < rowTexts_.size(); ++i)
        if (filter_.Passes(rowTexts_[i])) {
            rows.push_back(rowTexts_[i]);
            data.push_back(rowData_[i]);
        }
    const HWND list = FindList();
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    FillColumnList(list, rows, data);
    results_.Resort();
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    std::string status = FindCountText(hits_.size());
    if (!filter_.Text().empty()) status += "; " + orvex::TFilterField::ShownText(rows.size(), hits_.size());
    ::SetWindowTextA(FindStatus(), status.c_str());
}

void Twnd_Find::cmFilter() { filter_.Show(FindList(), anchors_); }

void Twnd_Find::FindListDblClick() {
    const std::optional<LPARAM> data = orvex::SelectedRowData(FindList());
    const TRowTarget process = ResolveRow(resultRows_, data, procList_.ProcessCount(), [this](int i) {
        TProcessInfo p;
        procList_.GetProcess(static_cast<std::uint32_t>(i), p);
        return ProcessKey(p);
    });
    if (!process.Found()) return;
    // The page's row of the hit: a module by its base address, a handle by
    // its value, each unique within its process.
    const TFindHit& hit = hits_[static_cast<std::size_t>(*data)];
    TDetailsRowTarget target;
    target.Page = hit.Module ? pgPrcModules : pgPrcHandles;
    target.Column = hit.Module ? ModuleBaseColumn : 0;
    target.Text = FormatHex0x(hit.Handle);
    ShowProcessDetails(Handle(), procList_, process.Index, target);
    if (detailsClosed_) detailsClosed_();
}

bool Twnd_Find::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == 'E' && ::GetKeyState(VK_CONTROL) < 0) {
        cmFilter();
        return true;
    }
    // Esc in the filter's field clears and hides it.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && msg.hwnd == FilterEdit()) {
        filter_.Hide(FindList(), anchors_);
        return true;
    }
    // Enter in the text box finds; the dialog keys move between the controls.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == FindText()) {
        cmFind();
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == FindList()) {
        FindListDblClick();
        return true;
    }
    return ::IsDialogMessageA(Handle(), &msg) != FALSE;
}

LRESULT Twnd_Find::Notify(NMHDR& hdr) {
    if (hdr.idFrom != idFindList) return 0;
    switch (hdr.code) {
    case NM_CUSTOMDRAW:
        return results_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(&hdr));
    case LVN_COLUMNCLICK:
        results_.ColumnClick(reinterpret_cast<NMLISTVIEW*>(&hdr)->iSubItem);
        return 0;
    case NM_DBLCLK:
        FindListDblClick();
        return 0;
    default:
        return 0;
    }
}

LRESULT Twnd_Find::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        const auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        dpi_ = orvex::DpiOfWindow(Handle());
        orvex::CreateDeclaredControls(Handle(), Controls, font, POINT{0, 0}, anchors_, dpi_);
        SetupColumnList(FindList(), FindColumns);
        results_.Attach(FindList());
        filter_.Create(Handle(), idFindFilter, font);
        return 0;
    }
    case WM_SIZE:
        anchors_.Apply(LOWORD(lp), HIWORD(lp));
        if (filter_.Shown()) filter_.Place(FindList(), anchors_);
        return 0;
    case orvex::WmDpiChanged: {
        // Font, places and columns scale.
        const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(FindList(), WM_GETFONT, 0, 0));
        orvex::ScaleChildFont(Handle(), font, dpi_, HIWORD(wp), font_);
        orvex::ApplyDpiChange(Handle(), dpi_, HIWORD(wp), *reinterpret_cast<const RECT*>(lp), anchors_);
        dpi_ = HIWORD(wp);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == idFindButton && HIWORD(wp) == BN_CLICKED) cmFind();
        if (LOWORD(wp) == idFindFilter && HIWORD(wp) == EN_CHANGE && filter_.TakeText()) ShowResults();
        return 0;
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<NMHDR*>(lp));
    case WmFindChecked:
        ChecksAnswered();
        return 0;
    case WM_CLOSE:
        // Closing only hides: the owner keeps the window and its results.
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

}  // namespace orvex::app
