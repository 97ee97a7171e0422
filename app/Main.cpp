#include "app/Main.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <vector>

#include "app/CompareDialog.h"
#include "app/DrvDetails.h"
#include "app/FileCommands.h"
#include "app/PrcDetails.h"
#include "app/SvcDetails.h"
#include "app/pure/LiveChanges.h"
#include "app/pure/MainRows.h"
#include "app/pure/ProcessTree.h"
#include "engine/OXI_ImageChecks.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportSave.h"
#include "platform/Orvex_ComCtl32.h"
#include "platform/Orvex_Dpi.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_ProcessRoutines.h"
#include "platform/Orvex_Services.h"
#include "platform/Orvex_Shell32.h"
#include "platform/Orvex_Wow64.h"
#include "storage/Orvex_ComError.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_Dialogs.h"
#include "ui/Orvex_DpiChange.h"
#include "ui/Orvex_FilterField.h"
#include "ui/Orvex_ListView.h"
#include "ui/Orvex_TabPages.h"

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

template <typename Record>
using TGetRecord = void (TOrvex_ProcessList::*)(std::uint32_t, Record&) const;

// The component's records of one kind, in its order.
template <typename Record>
std::vector<Record> RecordsOf(const TOrvex_ProcessList& component, int count, TGetRecord<Record> get) {
    std::vector<Record> records(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < records.size(); ++i) (component.*get)(static_cast<std::uint32_t>(i), records[i]);
    return records;
}

// Fills one page's list, row by row: each row carries its record's index
// and key through Rows (a vanished record's row carries index -1: no
// command acts on it) and its change mark through Marks, by the row's item
// data. With Markers the mark is also a character before the first cell.
template <typename Record, typename Texts>
class TPageFill {
public:
    TPageFill(HWND list, TRowRecords& rows, std::vector<TLiveChange>& marks, std::size_t count, bool markers,
              Texts texts, TRecordKey (*key)(const Record&), const orvex::TFilterField& filter)
        : list_(list),
          rows_(rows),
          marks_(marks),
          markers_(markers),
          texts_(texts),
          key_(key),
          lock_(list),
          filter_(filter) {
        orvex::ClearListFor(list, count);
        rows.Clear();
        rows.Reserve(count);
        marks.clear();
    }

    void Add(const Record& record, int index, TLiveChange mark, const std::string& indent = {}) {
        std::vector<std::string> cells = texts_(record);
        // The filter keeps the rows whose shown cells hold its text.
        if (!filter_.Passes(cells)) return;
        ++shown_;
        cells[0] = (markers_ ? ChangeMarker(mark) : std::string()) + indent + cells[0];
        const std::intptr_t data = rows_.Add(index, key_(record));
        if (marks_.size() <= static_cast<std::size_t>(data)) marks_.resize(static_cast<std::size_t>(data) + 1);
        marks_[static_cast<std::size_t>(data)] = mark;
        orvex::AppendListRow(list_, cells, 0, data);
    }

    // The records in their order, or, with Previous, in the order of the
    // changes since then (the vanished ones among them).
    void AddAll(const std::vector<Record>& records, const std::vector<Record>* previous) {
        if (!previous) {
            for (std::size_t i = 0; i < records.size(); ++i) Add(records[i], static_cast<int>(i), TLiveChange::None);
            return;
        }
        for (const TLiveRow& row : LiveRows(*previous, records)) {
            if (row.Change == TLiveChange::Removed)
                Add((*previous)[row.Index], -1, row.Change);
            else
                Add(records[row.Index], static_cast<int>(row.Index), row.Change);
        }
    }

    // The rows added.
    int Shown() const noexcept { return shown_; }

private:
    HWND list_;
    TRowRecords& rows_;
    std::vector<TLiveChange>& marks_;
    bool markers_;
    Texts texts_;
    TRecordKey (*key_)(const Record&);
    orvex::TRedrawLock lock_;
    const orvex::TFilterField& filter_;
    int shown_ = 0;
};

// Whether the system's high-contrast setting is on: changes are then shown
// by a marker character, not by colour.
bool HighContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Keeps of a process record what the next refresh compares and shows of it.
void Slim(TProcessInfo& p) {
    p.Modules = {};
    p.Threads = {};
    p.Privileges = {};
    p.Groups = {};
}

// The record of List's selected row among the component's Count records.
template <typename Record>
TRowTarget SelectedRecord(HWND list, const TRowRecords& rows, const TOrvex_ProcessList& component, int count,
                          TGetRecord<Record> get, TRecordKey (*key)(const Record&)) {
    return ResolveRow(rows, orvex::SelectedRowData(list), count, [&](int index) {
        Record record;
        (component.*get)(static_cast<std::uint32_t>(index), record);
        return key(record);
    });
}

// Removes every item of Bar, detaching the drop-down menus without
// destroying them; one removal per item counted at the start, so a removal
// the system refuses cannot keep the loop going.
void DetachMenuItems(HMENU bar) {
    for (int i = ::GetMenuItemCount(bar); i > 0; --i) ::RemoveMenu(bar, static_cast<UINT>(i - 1), MF_BYPOSITION);
}

// A date-time value of the local time as the user's short date and time
// formats write it; empty for no time (0) or a value no calendar reads.
std::string LocalDateTimeText(double value) {
    TCalendarTime when;
    if (value == 0 || !DateTimeToCalendar(value, when)) return {};
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(when.Year);
    st.wMonth = static_cast<WORD>(when.Month);
    st.wDay = static_cast<WORD>(when.Day);
    st.wHour = static_cast<WORD>(when.Hour);
    st.wMinute = static_cast<WORD>(when.Minute);
    st.wSecond = static_cast<WORD>(when.Second);
    char date[128] = {};
    char time[128] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date) == 0) date[0] = 0;
    if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time) == 0) time[0] = 0;
    return std::string(date) + (date[0] && time[0] ? " " : "") + time;
}

// The width (pixels at 96 DPI) a panel of bar needs for text: the text in
// the bar's font and the panel's borders.
int StatusTextWidth(HWND bar, const std::string& text) {
    orvex::TWindowDC dc(bar);
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(bar, WM_GETFONT, 0, 0));
    orvex::TSelectObject use(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    int borders[3] = {};
    ::SendMessageA(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return orvex::ScaledBetween(size.cx + 2 * borders[2] + 8, orvex::DpiOfWindow(bar), orvex::BaseDpi);
}

// Sets the status bar's panels to Widths (pixels at 96 DPI: the bar gets them
// at its DPI); with LastTakesRest the last panel reaches the bar's right end.
void SetStatusPanels(HWND bar, std::span<const int> widths, bool lastTakesRest) {
    const int dpi = orvex::DpiOfWindow(bar);
    std::vector<int> edges;
    int right = 0;
    for (int width : widths) edges.push_back(right += orvex::ScaledToDpi(width, dpi));
    if (lastTakesRest) edges.push_back(-1);
    ::SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

HICON ProgramIcon() {
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    return icon ? icon : ::LoadIcon(nullptr, IDI_APPLICATION);
}

}  // namespace

Twnd_Main::Twnd_Main(Twnd_Splash* splash, bool quitOnClose) : splash_(splash), quitOnClose_(quitOnClose) {
    ProcList.DetectionRange = TDetectionRange::All();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    orvex::InitCommonControlsEx(&icc);
    accelerators_.reset(::CreateAcceleratorTableA(const_cast<ACCEL*>(MainAccelerators().data()),
                                                  static_cast<int>(MainAccelerators().size())));
    CreateMenus();
    // Laid out for 96 DPI: the window opens at the system's.
    const int dpi = orvex::SystemDpi();
    Create(MainClass, AppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Centered, Centered,
           orvex::ScaledToDpi(MainClientWidth, dpi), orvex::ScaledToDpi(MainClientHeight, dpi), nullptr,
           menuBar_.get());
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
    // Esc in the filter's field clears and hides it.
    if (msg.hwnd == FilterEdit() && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        filter_.Hide(PageList(activePage_), anchors_);
        return true;
    }
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
    ::CheckMenuItem(popups_[mnView].get(), cmHighlightChangesId, MF_BYCOMMAND | MF_CHECKED);
    ::CheckMenuItem(popups_[mnView].get(), cmVerifySignaturesId,
                    MF_BYCOMMAND | (ImageChecksOn() ? MF_CHECKED : MF_UNCHECKED));
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
    dpi_ = orvex::DpiOfWindow(Handle());
    LOGFONTA lf{};
    lf.lfHeight = -orvex::ScaledToDpi(MainFontHeight, dpi_);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, MainFontName, LF_FACESIZE);
    font_.reset(::CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    boldFont_.reset(::CreateFontIndirectA(&lf));
    const HFONT font = font_.get();

    orvex::CreateDeclaredControls(Handle(), MainControls(), font, {0, 0}, anchors_, dpi_);
    ::SendMessageA(pc(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    ::SendMessageA(sb(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Threads: 0"));
    ::SendMessageA(sb(), SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Handles: 0"));
    ::SendMessageA(sb(), SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Windows: 0"));
    ShowLivePanels();

    UpdateTabs();
    // The pages' controls are placed in the tab control's display area.
    RECT display{};
    ::GetWindowRect(pc(), &display);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&display), 2);
    TabCtrl_AdjustRect(pc(), FALSE, &display);
    for (int page = 0; page < PageCount; ++page) {
        const TPageDecl& decl = MainPages()[page];
        orvex::CreateDeclaredControls(Handle(), decl.Controls, font, {display.left, display.top}, anchors_, dpi_);
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
    // The filter's field, hidden until "Filter..." places it.
    filter_.Create(Handle(), idFilter, font);
    ShowPageControls();
}

void Twnd_Main::DpiChanged(int dpi, const RECT& suggested) {
    // New fonts first: the controls take them before they are moved.
    orvex::ScaleChildFont(Handle(), font_.get(), dpi_, dpi, font_);
    orvex::ScaleChildFont(Handle(), boldFont_.get(), dpi_, dpi, boldFont_);
    const int from = dpi_;
    dpi_ = dpi;
    orvex::ApplyDpiChange(Handle(), from, dpi, suggested, anchors_);
    ShowStatus();
}

void Twnd_Main::FormCreate() {
    SetActivePage(pgProcesses);
    RefreshView(false);
}

// ---------------------------------------------------------------- pages

void Twnd_Main::UpdateTabs() {
    const HWND tab = pc();
    TabCtrl_DeleteAllItems(tab);
    int index = 0;
    for (int page = 0; page < PageCount; ++page)
        if (pageVisible_[page]) orvex::InsertPageTab(tab, index++, page, MainPages()[page].Caption);
    // Keep the active page selected, or the first visible one.
    if (!orvex::SelectPage(tab, activePage_)) TabCtrl_SetCurSel(tab, 0);
}

TMainPage Twnd_Main::ActivePage() const { return activePage_; }

void Twnd_Main::SetActivePage(TMainPage page) {
    if (!pageVisible_[page]) return;
    activePage_ = page;
    UpdateTabs();
    pcChange();
}

void Twnd_Main::pcChange() {
    if (const int page = orvex::SelectedPage(pc()); page >= 0) activePage_ = static_cast<TMainPage>(page);
    menuVisible_[mnProcess] = activePage_ == pgProcesses;
    menuVisible_[mnDriver] = activePage_ == pgDrivers;
    menuVisible_[mnService] = activePage_ == pgServices;
    UpdateMenuBar();
    ShowPageControls();
    if (ProcList.LiveData()) ShowLivePanels();
    if (filter_.Shown()) filter_.Place(PageList(activePage_), anchors_);
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
    if (!keepData) {
        // What the lists held before: the changes are marked against it.
        KeepPreviousLists();
        ProcList.RefreshData();
    }
    // Live data come from this system; a report's from the system it names.
    family_ = DataFamilyOf(ProcList);
    ShowProcessColumns();
    FillProcesses();
    const bool others = family_.DriversAndServices;
    if (others) {
        FillDrivers();
        FillServices();
    }
    const int counts[PageCount] = {ProcList.ProcessCount(), ProcList.DriverCount(), ProcList.ServiceCount()};
    const char* labels[PageCount] = {"Processes", "Drivers", "Services"};
    pageVisible_ = {true, others, others};
    if (!pageVisible_[activePage_]) activePage_ = pgProcesses;
    UpdateTabs();
    for (int page = 0; page < PageCount; ++page)
        orvex::SetPageTabCaption(pc(), page, CountCaption(labels[page], counts[page]).c_str());
    ShowStatus();
    const std::string caption = ProcList.LiveData() ? std::string(AppTitle)
                                                    : ReportWindowCaption(AppTitle, ProcList.StorageFileName);
    ::SetWindowTextA(Handle(), caption.c_str());
    ShowLiveCommands();
    pcChange();
    liveShown_ = ProcList.LiveData();
}

void Twnd_Main::ShowProcessColumns() {
    const auto& columns = MainPages()[pgProcesses].Columns;
    orvex::SetListColumnCaption(PrcList(), 2, family_.NT ? columns[2].Caption : ThreadsColumnCaption);
    orvex::SetListColumnCaption(PrcList(), 3, family_.NT ? columns[3].Caption : UsageColumnCaption);
}

void Twnd_Main::ShowStatus() {
    const auto setText = [this](int panel, const std::string& text) {
        ::SendMessageA(sb(), SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
    };
    if (ProcList.LiveData()) {
        setText(0, StatusPanelText("Threads", ProcList.ThreadCount()));
        setText(1, StatusPanelText("Handles", ProcList.HandleCount()));
        setText(2, StatusPanelText("Windows", ProcList.WindowCount()));
        ShowLivePanels();
        return;
    }
    // A report: the machine, the system and the time it describes.
    SetStatusPanels(sb(), ReportStatusPanelWidths, true);
    const TStorageInfoRecord& info = ProcList.StorageInfo;
    setText(0, info.Machine);
    setText(1, info.OSName);
    setText(2, LocalDateTimeText(info.Timestamp));
}

// The live panels. The notes panel (filter and changes) is as wide as its
// text needs, at least its declared width; what the live data lack follows
// in a panel of its own: a 32-bit viewer on 64-bit Windows whose 64-bit twin
// did not start says so, and handle names that were not read because their
// queries do not return are counted.
void Twnd_Main::ShowLivePanels() {
    const std::string notes = StatusNotesText();
    const std::string notice = JoinNotices({IsWow64Program() ? std::string_view(Wow64ViewNotice) : std::string_view(),
                                            UnreadNamesNotice(ProcList.UnreadHandleNames())});
    std::array<int, StatusPanelWidths.size()> widths = StatusPanelWidths;
    widths.back() = std::max(widths.back(), StatusTextWidth(sb(), notes));
    SetStatusPanels(sb(), widths, !notice.empty());
    ::SendMessageA(sb(), SB_SETTEXTA, widths.size() - 1, reinterpret_cast<LPARAM>(notes.c_str()));
    if (!notice.empty()) ::SendMessageA(sb(), SB_SETTEXTA, widths.size(), reinterpret_cast<LPARAM>(notice.c_str()));
}

void Twnd_Main::ShowLiveCommands() {
    const bool live = ProcList.LiveData();
    for (int id : LiveOnlyCommands()) {
        for (const orvex::TMenu& popup : popups_)
            if (popup)
                ::EnableMenuItem(popup.get(), static_cast<UINT>(id), MF_BYCOMMAND | (live ? MF_ENABLED : MF_GRAYED));
        if (const HWND button = Item(id)) ::EnableWindow(button, live);
    }
}

void Twnd_Main::FillProcesses() {
    const bool nt = family_.NT;
    auto texts = [nt](const TProcessInfo& p) { return ProcessRowTexts(p, nt); };
    const TProcList all = RecordsOf(ProcList, ProcList.ProcessCount(), &TOrvex_ProcessList::GetProcess);
    const TProcList* previous = ChangesShown() ? &previous_.Processes : nullptr;
    {
        markers_[pgProcesses] = HighContrastOn();
        TPageFill fill(PrcList(), rows_[pgProcesses], marks_[pgProcesses], all.size(), markers_[pgProcesses], texts,
                       &ProcessKey, filter_);
        if (!processTree_) {
            fill.AddAll(all, previous);
        } else {
            // Tree order, each name indented by its depth; the vanished
            // processes after the tree.
            std::vector<TLiveChange> change(all.size(), TLiveChange::None);
            std::vector<std::size_t> vanished;
            if (previous)
                for (const TLiveRow& row : LiveRows(*previous, all)) {
                    if (row.Change == TLiveChange::Removed)
                        vanished.push_back(row.Index);
                    else
                        change[row.Index] = row.Change;
                }
            for (const TTreeRow& r : ProcessTreeRows(all))
                fill.Add(all[r.Index], static_cast<int>(r.Index), change[r.Index], TreeIndent(r.Depth));
            for (std::size_t v : vanished) fill.Add((*previous)[v], -1, TLiveChange::Removed);
        }
        shownRows_[pgProcesses] = fill.Shown();
    }
    if (!processTree_) lists_[pgProcesses].Resort();
}

void Twnd_Main::cmProcessTree() {
    processTree_ = !processTree_;
    if (processTree_) lists_[pgProcesses].StopSorting();
    ::CheckMenuItem(popups_[mnView].get(), cmProcessTreeId, MF_BYCOMMAND | (processTree_ ? MF_CHECKED : MF_UNCHECKED));
    FillProcesses();
}

// A flat page's list: its records in the component's order (or the order
// of the changes), sorted again where the user sorted it.
template <typename Record, typename Texts>
void Twnd_Main::FillFlatPage(TMainPage page, int count, TGetRecord<Record> get, Texts texts,
                             TRecordKey (*key)(const Record&), const std::vector<Record>& previous) {
    const std::vector<Record> all = RecordsOf(ProcList, count, get);
    {
        markers_[page] = HighContrastOn();
        TPageFill fill(PageList(page), rows_[page], marks_[page], all.size(), markers_[page], texts, key, filter_);
        fill.AddAll(all, ChangesShown() ? &previous : nullptr);
        shownRows_[page] = fill.Shown();
    }
    lists_[page].Resort();
}

void Twnd_Main::FillDrivers() {
    FillFlatPage(pgDrivers, ProcList.DriverCount(), &TOrvex_ProcessList::GetDriver, DriverRowTexts, &DriverKey,
                 previous_.Drivers);
}

void Twnd_Main::FillServices() {
    FillFlatPage(pgServices, ProcList.ServiceCount(), &TOrvex_ProcessList::GetService, ServiceRowTexts, &ServiceKey,
                 previous_.Services);
}

bool Twnd_Main::ChangesShown() const noexcept { return highlightChanges_ && havePrevious_ && ProcList.LiveData(); }

void Twnd_Main::KeepPreviousLists() {
    // Only lists that a live refresh filled: not a report's, nor the empty
    // lists before the first refresh.
    havePrevious_ = ProcList.LiveData() && liveShown_;
    if (!havePrevious_) return;
    previous_.Processes = RecordsOf(ProcList, ProcList.ProcessCount(), &TOrvex_ProcessList::GetProcess);
    for (TProcessInfo& p : previous_.Processes) Slim(p);
    previous_.Drivers = RecordsOf(ProcList, ProcList.DriverCount(), &TOrvex_ProcessList::GetDriver);
    previous_.Services = RecordsOf(ProcList, ProcList.ServiceCount(), &TOrvex_ProcessList::GetService);
}

void Twnd_Main::cmHighlightChanges() {
    highlightChanges_ = !highlightChanges_;
    ::CheckMenuItem(popups_[mnView].get(), cmHighlightChangesId,
                    MF_BYCOMMAND | (highlightChanges_ ? MF_CHECKED : MF_UNCHECKED));
    RefreshView(true);
}

void Twnd_Main::cmVerifySignatures() {
    SetImageChecksOn(!ImageChecksOn());
    ::CheckMenuItem(popups_[mnView].get(), cmVerifySignaturesId,
                    MF_BYCOMMAND | (ImageChecksOn() ? MF_CHECKED : MF_UNCHECKED));
}

std::string Twnd_Main::StatusNotesText() const {
    const int counts[PageCount] = {ProcList.ProcessCount(), ProcList.DriverCount(), ProcList.ServiceCount()};
    const std::string shown = filter_.Text().empty()
                                  ? std::string()
                                  : orvex::TFilterField::ShownText(static_cast<std::size_t>(shownRows_[activePage_]),
                                                                   static_cast<std::size_t>(counts[activePage_]));
    return JoinNotices({shown, ChangeSummaryText(activePage_)});
}

void Twnd_Main::cmFilter() { filter_.Show(PageList(activePage_), anchors_); }

void Twnd_Main::FilterChanged() {
    if (!filter_.TakeText()) return;
    FillProcesses();
    if (family_.DriversAndServices) {
        FillDrivers();
        FillServices();
    }
    ShowStatus();
}

std::string Twnd_Main::ChangeSummaryText(TMainPage page) const {
    if (!ChangesShown()) return {};
    std::vector<TLiveRow> rows;
    for (const TLiveChange mark : marks_[page]) rows.push_back({0, mark});
    return ChangeSummary(rows);
}

const COLORREF* Twnd_Main::ChangeColour(TMainPage page, LPARAM data) const {
    static constexpr COLORREF Colours[] = {0, RGB(200, 255, 200), RGB(255, 200, 200), RGB(255, 255, 170)};
    // Where the fill wrote marker characters, no colour is drawn.
    if (markers_[page]) return nullptr;
    const auto mark = static_cast<std::size_t>(RowChange(page, data));
    return mark == 0 ? nullptr : &Colours[mark];
}

// ---------------------------------------------------------------- rows

TRowTarget Twnd_Main::SelectedProcess() const {
    return SelectedRecord(PrcList(), rows_[pgProcesses], ProcList, ProcList.ProcessCount(),
                          &TOrvex_ProcessList::GetProcess, &ProcessKey);
}

TRowTarget Twnd_Main::SelectedDriver() const {
    return SelectedRecord(DrvList(), rows_[pgDrivers], ProcList, ProcList.DriverCount(), &TOrvex_ProcessList::GetDriver,
                          &DriverKey);
}

TRowTarget Twnd_Main::SelectedService() const {
    return SelectedRecord(SvcList(), rows_[pgServices], ProcList, ProcList.ServiceCount(),
                          &TOrvex_ProcessList::GetService, &ServiceKey);
}

// ---------------------------------------------------------------- commands

void Twnd_Main::cmRefresh() { RefreshView(false); }

void Twnd_Main::cmSaveReport() {
    // The name as typed: no extension is added.
    std::string fileName;
    // Written beside the target and put in its place only when complete, so
    // that a failure midway leaves the old report as it was.
    if (!AskSaveFileName(Handle(), nullptr, ReportFilter, nullptr, fileName)) return;
    // Signers and hashes of the images and drivers go in while checks are on.
    if (ImageChecksOn()) {
        orvex::TBusyCursor busy;
        ProcList.CheckImages();
    }
    SaveReportReplacing(ProcList, fileName);
}

void Twnd_Main::cmOpenReport() {
    std::string fileName;
    if (AskOpenFileName(Handle(), nullptr, OpenReportFilter, fileName)) OpenReport(fileName);
}

bool Twnd_Main::OpenReport(const std::string& fileName) {
    // A file that cannot be read, or is no report, leaves the component as
    // it was.
    try {
        orvex::TBusyCursor busy;
        ProcList.LoadReport(fileName);
    } catch (const orvex::TNotAReport&) {
        orvex::ShowErrorReport(Handle(), std::runtime_error(NotAReportText(fileName)));
        return false;
    } catch (const std::exception& e) {
        orvex::ShowErrorReport(Handle(), std::runtime_error(CannotOpenReportText(fileName, e.what())));
        return false;
    }
    // The Find window searches the running system's handles and modules.
    if (find_) ::ShowWindow(find_->Handle(), SW_HIDE);
    RefreshView(true);
    return true;
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
    orvex::ShellAboutA(Handle(), app.c_str(), AboutCredit, ProgramIcon());
}

void Twnd_Main::cmPrcProps() {
    const TRowTarget row = SelectedProcess();
    if (!row.Found()) return;
    TProcessInfo p;
    ProcList.GetProcess(static_cast<std::uint32_t>(row.Index), p);
    if (p.PID > 9) orvex::ShowFileProperties(Handle(), p.ImageName.str());
}

void Twnd_Main::cmPrcKill() {
    const TRowTarget row = SelectedProcess();
    // A row whose process has left the inventory since the list was filled
    // names no process any more: its identifier may be another's by now.
    if (row.Gone()) {
        orvex::ShowWarning(KillFailedText);
        return;
    }
    if (!row.Found()) return;
    TProcessInfo p;
    ProcList.GetProcess(static_cast<std::uint32_t>(row.Index), p);
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
    const TRowTarget row = SelectedProcess();
    if (!row.Found()) return;
    orvex::ShowProcessDetails(Handle(), ProcList, row.Index);
    // The dialog may have refreshed the component.
    RefreshView(true);
}

void Twnd_Main::cmDrvDetails() {
    const TRowTarget row = SelectedDriver();
    if (row.Found()) orvex::ShowDriverDetails(Handle(), ProcList, row.Index);
}

void Twnd_Main::cmSvcDetails() {
    const TRowTarget row = SelectedService();
    if (row.Found()) orvex::ShowServiceDetails(Handle(), ProcList, row.Index);
}

void Twnd_Main::cmDrvProps() {
    const TRowTarget row = SelectedDriver();
    if (!row.Found()) return;
    TDriverInfo d;
    ProcList.GetDriver(static_cast<std::uint32_t>(row.Index), d);
    orvex::ShowFileProperties(Handle(), d.Name.str());
}

void Twnd_Main::cmSvcProps() {
    const TRowTarget row = SelectedService();
    if (!row.Found()) return;
    TServiceInfo s;
    ProcList.GetService(static_cast<std::uint32_t>(row.Index), s);
    orvex::ShowFileProperties(Handle(), s.ImageName.str());
}

template <typename Action>
void Twnd_Main::ControlService(std::initializer_list<int> allowed, const char* question, const char* failure,
                               bool askParameters, Action action) {
    const TRowTarget row = SelectedService();
    // The row's service has left the inventory since the list was filled:
    // another service may stand at its place now, and none is controlled.
    if (row.Gone()) {
        orvex::ShowWarning(failure);
        return;
    }
    if (!row.Found()) return;
    TServiceInfo s;
    ProcList.GetService(static_cast<std::uint32_t>(row.Index), s);
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
    // A report shown: nothing may act on or describe the running system.
    if (!ProcList.LiveData() && IsLiveOnlyCommand(id)) return;
    switch (id) {
    case cmRefreshId:
        cmRefresh();
        break;
    case cmOpenReportId:
        cmOpenReport();
        break;
    case cmSaveReportId:
        cmSaveReport();
        break;
    case cmCompareReportId:
        cmCompareReport();
        break;
    case cmExportListId:
        cmExportList();
        break;
    case cmExitId:
        cmExit();
        break;
    case cmAboutId:
        mmAboutClick();
        break;
    case cmProcessTreeId:
        cmProcessTree();
        break;
    case cmHighlightChangesId:
        cmHighlightChanges();
        break;
    case cmVerifySignaturesId:
        cmVerifySignatures();
        break;
    case cmFilterId:
        cmFilter();
        break;
    case cmFindId:
        cmFind();
        break;
    case cmPrcPropsId:
        cmPrcProps();
        break;
    case cmPrcKillId:
        cmPrcKill();
        break;
    case cmPrcDetailsId:
        cmPrcDetails();
        break;
    case cmDrvPropsId:
        cmDrvProps();
        break;
    case cmDrvDetailsId:
        cmDrvDetails();
        break;
    case cmSvcPropsId:
        cmSvcProps();
        break;
    case cmSvcDetailsId:
        cmSvcDetails();
        break;
    case cmSvcStartId:
        cmSvcStart();
        break;
    case cmSvcStopId:
        cmSvcStop();
        break;
    case cmSvcPauseId:
        cmSvcPause();
        break;
    case cmSvcResumeId:
        cmSvcResume();
        break;
    default:
        break;
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
        // A sort is flat: the tree returns with the next "Process tree".
        if (page == pgProcesses && processTree_) cmProcessTree();
        lists_[page].ColumnClick(reinterpret_cast<NMLISTVIEW&>(hdr).iSubItem);
        return 0;
    }
    if (hdr.code == NM_CUSTOMDRAW) {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(hdr);
        const LRESULT result = lists_[page].CustomDraw(draw);
        // A changed row's background, in every cell.
        if ((draw.nmcd.dwDrawStage & CDDS_ITEMPREPAINT) == CDDS_ITEMPREPAINT)
            if (const COLORREF* colour = ChangeColour(static_cast<TMainPage>(page),
                                                      static_cast<LPARAM>(draw.nmcd.lItemlParam)))
                draw.clrTextBk = *colour;
        return result;
    }
    if (hdr.code == NM_DBLCLK) {
        constexpr int details[PageCount] = {cmPrcDetailsId, cmDrvDetailsId, cmSvcDetailsId};
        Command(details[page]);
        return 0;
    }
    return 0;
}

bool Twnd_Main::WantsHandCursor(HWND control) const {
    if (control == pc()) return orvex::CursorOverTab(control);
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
        if (filter_.Shown()) filter_.Place(PageList(activePage_), anchors_);
        ::SendMessageA(sb(), WM_SIZE, 0, 0);
        return 0;
    case orvex::WmDpiChanged:
        DpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == idFilter) {
            if (HIWORD(wp) == EN_CHANGE) FilterChanged();
            return 0;
        }
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
