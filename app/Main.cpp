#include "app/Main.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <initializer_list>
#include <vector>

#include "app/CompareDialog.h"
#include "app/DrvDetails.h"
#include "app/ListExport.h"
#include "app/PrcDetails.h"
#include "app/SvcDetails.h"
#include "app/pure/MainRows.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_ProcessRoutines.h"
#include "platform/Orvex_Services.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_Dialogs.h"
#include "ui/Orvex_ListView.h"

namespace orvex::app {

namespace {

const orvex::TWindowClassDecl MainClass{MainClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_BTNFACE + 1,
                                        MAKEINTRESOURCEA(1)};

constexpr DWORD ListExStyle = LVS_EX_FULLROWSELECT;

int PageOfList(int listId) {
    for (int page = 0; page < PageCount; ++page)
        if (MainPages()[page].ListId == listId) return page;
    return -1;
}

// Removes every item of Bar, detaching the drop-down menus without
// destroying them; one removal per item counted at the start, so a removal
// the system refuses cannot keep the loop going.
void DetachMenuItems(HMENU bar) {
    for (int i = ::GetMenuItemCount(bar); i > 0; --i) ::RemoveMenu(bar, static_cast<UINT>(i - 1), MF_BYPOSITION);
}

HICON ProgramIcon() {
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    return icon ? icon : ::LoadIcon(nullptr, IDI_APPLICATION);
}

}  // namespace

Twnd_Main::Twnd_Main(Twnd_Splash* splash, bool quitOnClose) : splash_(splash), quitOnClose_(quitOnClose) {
    ProcList.DetectionRange = TDetectionRange::All();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    accelerators_.reset(::CreateAcceleratorTableA(const_cast<ACCEL*>(MainAccelerators().data()),
                                                  static_cast<int>(MainAccelerators().size())));
    CreateMenus();
    Create(MainClass, AppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Centered, Centered,
           MainClientWidth, MainClientHeight, nullptr, menuBar_.get());
}

Twnd_Main::~Twnd_Main() {
    // The Find window is owned by this one: it goes first.
    find_.reset();
    DestroyHandle();
}

void Twnd_Main::Show(int cmdShow) {
    ::ShowWindow(Handle(), cmdShow);
    ::UpdateWindow(Handle());
}

bool Twnd_Main::PreTranslateMessage(MSG& msg) {
    if (accelerators_ && ::TranslateAcceleratorA(Handle(), accelerators_.get(), &msg)) return true;
    return ::IsDialogMessageA(Handle(), &msg) != FALSE;
}

// ---------------------------------------------------------------- creation

void Twnd_Main::CreateMenus() {
    menuBar_.reset(::CreateMenu());
    for (int m = 0; m < MenuCount; ++m) {
        const TMenuDecl& decl = MainMenus()[m];
        menuVisible_[m] = decl.InitiallyVisible;
        if (decl.Items.empty()) continue;
        popups_[m].reset(::CreatePopupMenu());
        for (const TMenuItemDecl& item : decl.Items) {
            if (item.Command == 0)
                ::AppendMenuA(popups_[m].get(), MF_SEPARATOR, 0, nullptr);
            else
                ::AppendMenuA(popups_[m].get(), MF_STRING, static_cast<UINT_PTR>(item.Command), item.Caption);
        }
    }
    UpdateMenuBar();
}

void Twnd_Main::UpdateMenuBar() {
    const HMENU bar = menuBar_.get();
    DetachMenuItems(bar);
    for (int m = 0; m < MenuCount; ++m) {
        if (!menuVisible_[m]) continue;
        const TMenuDecl& decl = MainMenus()[m];
        if (popups_[m])
            ::AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popups_[m].get()), decl.Caption);
        else
            ::AppendMenuA(bar, MF_STRING, static_cast<UINT_PTR>(decl.Command), decl.Caption);
    }
    if (Handle()) ::DrawMenuBar(Handle());
}

void Twnd_Main::CreateControls() {
    LOGFONTA lf{};
    lf.lfHeight = -MainFontHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, MainFontName, LF_FACESIZE);
    font_.reset(::CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    boldFont_.reset(::CreateFontIndirectA(&lf));
    const HFONT font = static_cast<HFONT>(font_.get());

    orvex::CreateDeclaredControls(Handle(), MainControls(), font, {0, 0}, anchors_);
    ::SendMessageA(pc(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    std::array<int, StatusPanelWidths.size()> edges{};
    int right = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) edges[i] = right += StatusPanelWidths[i];
    ::SendMessageA(sb(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    ::SendMessageA(sb(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Threads: 0"));
    ::SendMessageA(sb(), SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Handles: 0"));
    ::SendMessageA(sb(), SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Windows: 0"));

    UpdateTabs();
    // The pages' controls are placed in the tab control's display area.
    RECT display{};
    ::GetWindowRect(pc(), &display);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&display), 2);
    TabCtrl_AdjustRect(pc(), FALSE, &display);
    for (int page = 0; page < PageCount; ++page) {
        const TPageDecl& decl = MainPages()[page];
        orvex::CreateDeclaredControls(Handle(), decl.Controls, font, {display.left, display.top}, anchors_);
        const HWND list = Item(decl.ListId);
        ListView_SetExtendedListViewStyle(list, ListExStyle);
        for (const TColumnDecl& c : decl.Columns) orvex::AddListColumn(list, c.Caption, c.Width, c.Format);
        lists_[page].Attach(list);
    }
    // The pages' controls lie over the tab control: it goes below every one
    // of them (a control is created below its elder siblings), so that its
    // clipping of the siblings above it keeps it from painting over them
    // when it alone is redrawn, as a refresh that rewrites its captions does.
    ::SetWindowPos(pc(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowPageControls();
}

void Twnd_Main::FormCreate() {
    SetActivePage(pgProcesses);
    if (!IsNT()) {
        orvex::SetListColumnCaption(PrcList(), 2, ThreadsColumnCaption);
        orvex::SetListColumnCaption(PrcList(), 3, UsageColumnCaption);
    }
    RefreshView(false);
}

// ---------------------------------------------------------------- pages

void Twnd_Main::UpdateTabs() {
    const HWND tab = pc();
    TabCtrl_DeleteAllItems(tab);
    int index = 0;
    for (int page = 0; page < PageCount; ++page) {
        if (!pageVisible_[page]) continue;
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<char*>(MainPages()[page].Caption);
        item.lParam = page;
        ::SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }
    // Keep the active page selected, or the first visible one.
    int selected = 0;
    for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        TabCtrl_GetItem(tab, i, &item);
        if (item.lParam == activePage_) selected = i;
    }
    TabCtrl_SetCurSel(tab, selected);
}

TMainPage Twnd_Main::ActivePage() const { return activePage_; }

void Twnd_Main::SetActivePage(TMainPage page) {
    if (!pageVisible_[page]) return;
    activePage_ = page;
    UpdateTabs();
    pcChange();
}

void Twnd_Main::pcChange() {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (TabCtrl_GetItem(pc(), TabCtrl_GetCurSel(pc()), &item))
        activePage_ = static_cast<TMainPage>(item.lParam);
    menuVisible_[mnProcess] = activePage_ == pgProcesses;
    menuVisible_[mnDriver] = activePage_ == pgDrivers;
    menuVisible_[mnService] = activePage_ == pgServices;
    UpdateMenuBar();
    ShowPageControls();
}

void Twnd_Main::ShowPageControls() {
    for (int page = 0; page < PageCount; ++page) {
        const bool show = page == activePage_ && pageVisible_[page];
        for (const orvex::TControlDecl& c : MainPages()[page].Controls)
            ::ShowWindow(Item(c.Id), show ? SW_SHOWNA : SW_HIDE);
    }
}

// ---------------------------------------------------------------- refresh

void Twnd_Main::RefreshView(bool keepData) {
    orvex::TBusyCursor busy;
    TSplashShown shown(splash_);
    if (!keepData) ProcList.RefreshData();
    FillProcesses();
    const bool nt = IsNT();
    if (nt) {
        FillDrivers();
        FillServices();
    }
    const int counts[PageCount] = {ProcList.ProcessCount(), ProcList.DriverCount(), ProcList.ServiceCount()};
    const char* labels[PageCount] = {"Processes", "Drivers", "Services"};
    pageVisible_ = {true, nt, nt};
    if (!pageVisible_[activePage_]) activePage_ = pgProcesses;
    UpdateTabs();
    for (int i = 0; i < TabCtrl_GetItemCount(pc()); ++i) {
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        TabCtrl_GetItem(pc(), i, &item);
        const std::string caption = CountCaption(labels[item.lParam], counts[item.lParam]);
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        ::SendMessageA(pc(), TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    const std::string panels[3] = {StatusPanelText("Threads", ProcList.ThreadCount()),
                                   StatusPanelText("Handles", ProcList.HandleCount()),
                                   StatusPanelText("Windows", ProcList.WindowCount())};
    for (int i = 0; i < 3; ++i)
        ::SendMessageA(sb(), SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(panels[i].c_str()));
    pcChange();
}

void Twnd_Main::FillProcesses() {
    const HWND list = PrcList();
    orvex::TRedrawLock lock(list);
    orvex::ClearListFor(list, static_cast<std::size_t>(ProcList.ProcessCount()));
    const bool nt = IsNT();
    TProcessInfo p;
    for (int i = 0; i < ProcList.ProcessCount(); ++i) {
        ProcList.GetProcess(static_cast<std::uint32_t>(i), p);
        orvex::AppendListRow(list, ProcessRowTexts(p, nt));
    }
    lists_[pgProcesses].Resort();
}

void Twnd_Main::FillDrivers() {
    const HWND list = DrvList();
    orvex::TRedrawLock lock(list);
    orvex::ClearListFor(list, static_cast<std::size_t>(ProcList.DriverCount()));
    TDriverInfo d;
    for (int i = 0; i < ProcList.DriverCount(); ++i) {
        ProcList.GetDriver(static_cast<std::uint32_t>(i), d);
        orvex::AppendListRow(list, DriverRowTexts(d));
    }
    lists_[pgDrivers].Resort();
}

void Twnd_Main::FillServices() {
    const HWND list = SvcList();
    orvex::TRedrawLock lock(list);
    orvex::ClearListFor(list, static_cast<std::size_t>(ProcList.ServiceCount()));
    TServiceInfo s;
    for (int i = 0; i < ProcList.ServiceCount(); ++i) {
        ProcList.GetService(static_cast<std::uint32_t>(i), s);
        orvex::AppendListRow(list, ServiceRowTexts(s));
    }
    lists_[pgServices].Resort();
}

// ---------------------------------------------------------------- rows

int Twnd_Main::SelectedProcess() const {
    const int row = orvex::SelectedListRow(PrcList());
    if (row < 0) return -1;
    const std::uint32_t pid = CellTextToInteger(orvex::ListCellText(PrcList(), row, 1), IsNT() ? 10 : 16);
    return ProcList.FindProcess(pid);
}

int Twnd_Main::SelectedDriver() const {
    const int row = orvex::SelectedListRow(DrvList());
    if (row < 0) return -1;
    return ProcList.FindDriver(CellTextToInteger(orvex::ListCellText(DrvList(), row, 2), 10));
}

int Twnd_Main::SelectedService() const {
    const int row = orvex::SelectedListRow(SvcList());
    if (row < 0) return -1;
    return ProcList.FindService(orvex::ListCellText(SvcList(), row, 0));
}

// ---------------------------------------------------------------- commands

void Twnd_Main::cmRefresh() { RefreshView(false); }

void Twnd_Main::cmSaveReport() {
    char file[MAX_PATH * 4] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = ReportFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER |
                OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameA(&ofn)) return;
    ProcList.SaveToStorage(file);
}

void Twnd_Main::cmCompareReport() {
    std::string fileName;
    if (AskOpenFileName(Handle(), CompareReportTitle, ReportFilter, fileName)) CompareWithReport(fileName);
}

void Twnd_Main::CompareWithReport(const std::string& fileName) {
    TComparison comparison;
    try {
        orvex::TBusyCursor busy;
        comparison = CompareWithReportFile(fileName, ProcList);
    } catch (const std::exception& e) {
        orvex::ShowErrorReport(Handle(), e);
        return;
    }
    ShowCompareDialog(Handle(), comparison);
}

void Twnd_Main::cmExportList() {
    std::string fileName;
    if (AskSaveFileName(Handle(), ExportListTitle, CsvFilter, CsvExtension, fileName)) ExportList(fileName);
}

void Twnd_Main::ExportList(const std::string& fileName) {
    try {
        SaveFileContents(fileName, ListViewCsv(PageList(activePage_)));
    } catch (const std::exception& e) {
        orvex::ShowErrorReport(Handle(), e);
    }
}

void Twnd_Main::cmExit() { ::SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void Twnd_Main::mmAboutClick() {
    const std::string app = std::string(AppTitle) + "#" + AppTitle + " " + AppVersion;
    ::ShellAboutA(Handle(), app.c_str(), AboutCredit, ProgramIcon());
}

void Twnd_Main::cmPrcProps() {
    const int index = SelectedProcess();
    if (index < 0) return;
    TProcessInfo p;
    ProcList.GetProcess(static_cast<std::uint32_t>(index), p);
    if (p.PID > 9) orvex::ShowFileProperties(Handle(), p.ImageName.str());
}

void Twnd_Main::cmPrcKill() {
    const int index = SelectedProcess();
    if (index < 0) return;
    TProcessInfo p;
    ProcList.GetProcess(static_cast<std::uint32_t>(index), p);
    if (p.PID <= 9) return;  // the idle and the system process
    if (!orvex::AskWarning(KillWarningText)) return;
    int result = tpFailed;
    {
        orvex::TBusyCursor busy;
        result = TerminateProcessGently(p.PID, KillTimeoutMs);
    }
    if (result == tpFailed)
        orvex::ShowWarning(KillFailedText);
    else
        RefreshView(false);
}

void Twnd_Main::cmFind() {
    if (!find_) find_ = std::make_unique<Twnd_Find>(Handle(), ProcList, [this] { RefreshView(true); });
    find_->Show();
}

void Twnd_Main::cmPrcDetails() {
    const int index = SelectedProcess();
    if (index < 0) return;
    orvex::ShowProcessDetails(Handle(), ProcList, index);
    // The dialog may have refreshed the component.
    RefreshView(true);
}

void Twnd_Main::cmDrvDetails() {
    const int index = SelectedDriver();
    if (index >= 0) orvex::ShowDriverDetails(Handle(), ProcList, index);
}

void Twnd_Main::cmSvcDetails() {
    const int index = SelectedService();
    if (index >= 0) orvex::ShowServiceDetails(Handle(), ProcList, index);
}

void Twnd_Main::cmDrvProps() {
    const int index = SelectedDriver();
    if (index < 0) return;
    TDriverInfo d;
    ProcList.GetDriver(static_cast<std::uint32_t>(index), d);
    orvex::ShowFileProperties(Handle(), d.Name.str());
}

void Twnd_Main::cmSvcProps() {
    const int index = SelectedService();
    if (index < 0) return;
    TServiceInfo s;
    ProcList.GetService(static_cast<std::uint32_t>(index), s);
    orvex::ShowFileProperties(Handle(), s.ImageName.str());
}

template <typename Action>
void Twnd_Main::ControlService(std::initializer_list<int> allowed, const char* question, const char* failure,
                               bool askParameters, Action action) {
    const int index = SelectedService();
    if (index < 0) return;
    TServiceInfo s;
    ProcList.GetService(static_cast<std::uint32_t>(index), s);
    bool permitted = false;
    for (int state : allowed) permitted = permitted || s.Status == state;
    if (!permitted) return;
    std::string text = question;
    text.replace(text.find("%s"), 2, s.DisplayName.str());
    if (!orvex::AskConfirmation(text)) return;
    std::string parameters;
    if (askParameters && !orvex::InputQuery(Handle(), s.DisplayName.str(), "Parameters", parameters)) return;
    bool done = false;
    {
        orvex::TBusyCursor busy;
        done = action(s.Name.str(), parameters);
    }
    if (done)
        RefreshView(false);
    else
        orvex::ShowWarning(failure);
}

void Twnd_Main::cmSvcStart() {
    ControlService({SERVICE_STOPPED}, "Start %s service?", "Cannot start service.", true,
                   [](const std::string& name, const std::string& parameters) {
                       return StartNamedService("", name, parameters);
                   });
}

void Twnd_Main::cmSvcStop() {
    ControlService({SERVICE_RUNNING, SERVICE_PAUSED}, "Stop %s service?", "Cannot stop service.", false,
                   [](const std::string& name, const std::string&) { return StopNamedService("", name); });
}

void Twnd_Main::cmSvcPause() {
    ControlService({SERVICE_RUNNING}, "Pause %s service?", "Cannot pause service.", false,
                   [](const std::string& name, const std::string&) { return PauseNamedService("", name); });
}

void Twnd_Main::cmSvcResume() {
    ControlService({SERVICE_PAUSED}, "Resume %s service?", "Cannot resume service.", false,
                   [](const std::string& name, const std::string&) { return ResumeNamedService("", name); });
}

// ---------------------------------------------------------------- messages

void Twnd_Main::Command(int id) {
    switch (id) {
    case cmRefreshId: cmRefresh(); break;
    case cmSaveReportId: cmSaveReport(); break;
    case cmCompareReportId: cmCompareReport(); break;
    case cmExportListId: cmExportList(); break;
    case cmExitId: cmExit(); break;
    case cmAboutId: mmAboutClick(); break;
    case cmFindId: cmFind(); break;
    case cmPrcPropsId: cmPrcProps(); break;
    case cmPrcKillId: cmPrcKill(); break;
    case cmPrcDetailsId: cmPrcDetails(); break;
    case cmDrvPropsId: cmDrvProps(); break;
    case cmDrvDetailsId: cmDrvDetails(); break;
    case cmSvcPropsId: cmSvcProps(); break;
    case cmSvcDetailsId: cmSvcDetails(); break;
    case cmSvcStartId: cmSvcStart(); break;
    case cmSvcStopId: cmSvcStop(); break;
    case cmSvcPauseId: cmSvcPause(); break;
    case cmSvcResumeId: cmSvcResume(); break;
    default: break;
    }
}

LRESULT Twnd_Main::Notify(NMHDR& hdr) {
    if (hdr.idFrom == idPages && hdr.code == TCN_SELCHANGE) {
        pcChange();
        return 0;
    }
    const int page = PageOfList(static_cast<int>(hdr.idFrom));
    if (page < 0) return 0;
    if (hdr.code == LVN_COLUMNCLICK) {
        lists_[page].ColumnClick(reinterpret_cast<NMLISTVIEW&>(hdr).iSubItem);
        return 0;
    }
    if (hdr.code == NM_CUSTOMDRAW) return lists_[page].CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(hdr));
    if (hdr.code == NM_DBLCLK) {
        constexpr int details[PageCount] = {cmPrcDetailsId, cmDrvDetailsId, cmSvcDetailsId};
        Command(details[page]);
        return 0;
    }
    return 0;
}

bool Twnd_Main::WantsHandCursor(HWND control) const {
    if (control == pc()) {
        // Over the tabs themselves, not over the page they frame.
        TCHITTESTINFO hit{};
        ::GetCursorPos(&hit.pt);
        ::ScreenToClient(control, &hit.pt);
        return TabCtrl_HitTest(control, &hit) >= 0;
    }
    if (orvex::WantsHandCursor(MainControls(), Handle(), control)) return true;
    for (const TPageDecl& page : MainPages())
        if (orvex::WantsHandCursor(page.Controls, Handle(), control)) return true;
    return false;
}

LRESULT Twnd_Main::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        FormCreate();
        return 0;
    case WM_SIZE:
        anchors_.Apply(LOWORD(lp), HIWORD(lp));
        ::SendMessageA(sb(), WM_SIZE, 0, 0);
        return 0;
    case WM_COMMAND:
        Command(LOWORD(wp));
        return 0;
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<NMHDR*>(lp));
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && WantsHandCursor(reinterpret_cast<HWND>(wp))) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        return DefaultMessage(msg, wp, lp);
    case WM_DESTROY:
        // The drop-down menus and the bar belong to this object, not to the window.
        ::SetMenu(Handle(), nullptr);
        DetachMenuItems(menuBar_.get());
        if (quitOnClose_) ::PostQuitMessage(0);
        return 0;
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

}  // namespace orvex::app
