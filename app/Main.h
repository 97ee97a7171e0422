// The main window: three pages (processes, drivers, services) filled from
// the inventory component, tab captions with counts, a status bar, menus
// that follow the page, and the commands on the selected rows.
#pragma once

#include <windows.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/DataFamily.h"
#include "app/FindWindow.h"
#include "app/MainLayout.h"
#include "app/Splash.h"
#include "app/pure/LiveChanges.h"
#include "app/pure/RowRecords.h"
#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_FilterField.h"
#include "ui/Orvex_GuiResources.h"
#include "ui/Orvex_Window.h"
#include "ui/pure/Orvex_DpiScale.h"
// Last: it undoes the Windows headers' macros of its member names.
#include "engine/OXI_Processes.h"

namespace orvex::app {

inline constexpr const char* MainClassName = "OrvexMainWindow";

// The time a process is given to end after its windows were asked to
// close, before it is terminated.
inline constexpr std::int32_t KillTimeoutMs = 3000;

inline constexpr const char* KillWarningText =
    "WARNING: Terminating a process can cause undesired \r\nresults including loss of data and system "
    "instability. The \r\nprocess will not be given the chance to save its state or \r\ndata before it is "
    "terminated. Are you sure you want to \r\nterminate the process?";
inline constexpr const char* KillFailedText = "Cannot terminate this process.";
inline constexpr const char* ReportFilter = "Orvex Inventory Storage files\0*.ivs\0All files\0*.*\0";
inline constexpr const char* OpenReportFilter = "Inventory reports (*.ivs)\0*.ivs\0All files\0*.*\0";
inline constexpr const char* CompareReportTitle = "Compare with report";
inline constexpr const char* ExportListTitle = "Export list";
inline constexpr const char* AboutCredit = "Processes, drivers and services of this machine at a glance.";

class Twnd_Main : public orvex::TWindow {
public:
    // Creates the window (hidden) with its first refresh, shown in Splash
    // while it runs. With QuitOnClose, closing the window ends the message
    // loop.
    Twnd_Main(Twnd_Splash* splash, bool quitOnClose);
    ~Twnd_Main() override;

    void Show(int cmdShow);

    // The inventory component, with every kind of data in its range.
    TOrvex_ProcessList ProcList;

    HWND pc() const { return Item(idPages); }
    HWND PrcList() const { return Item(idPrcList); }
    HWND DrvList() const { return Item(idDrvList); }
    HWND SvcList() const { return Item(idSvcList); }
    HWND sb() const { return Item(idStatusBar); }
    // The list view of a page.
    HWND PageList(TMainPage page) const { return Item(MainPages()[page].ListId); }

    // Fills the lists, tab captions and status bar from the component, after
    // refreshing it unless KeepData. The caption, the status bar and the
    // commands follow whether the data are live or come from a report.
    void RefreshView(bool keepData);

    // Shows the report FileName in place of what the window shows; true when
    // it did. A file that is missing, holds no inventory report or cannot be
    // read is named in the error report, and the window keeps what it
    // showed.
    bool OpenReport(const std::string& fileName);
    // The family of the data shown now.
    TDataFamily ShownFamily() const { return family_; }

    // The page shown now, and showing another (as a click on its tab does).
    TMainPage ActivePage() const;
    void SetActivePage(TMainPage page);
    bool PageVisible(TMainPage page) const { return pageVisible_[page]; }
    bool MenuVisible(TMainMenu menu) const { return menuVisible_[menu]; }

    // Commands.
    void cmRefresh();
    void cmSaveReport();
    // Asks for a report file with the system's open dialog and shows it.
    void cmOpenReport();
    // Asks for a report file and compares it with what the window shows.
    void cmCompareReport();
    // Asks for a file name and writes the active page's list into it as CSV.
    void cmExportList();
    // Compares the report FileName with the window's data and shows the
    // differences; a file that is no report or cannot be read shows the
    // error report and changes nothing.
    void CompareWithReport(const std::string& fileName);
    // Writes the active page's list as it shows into FileName as CSV; a
    // failure shows the error report and leaves no file behind.
    void ExportList(const std::string& fileName);
    void cmExit();
    // Shows the Find window (created on first use).
    void cmFind();
    // Shows the processes as a tree of parents and children, or flat again.
    void cmProcessTree();
    bool ProcessTreeShown() const noexcept { return processTree_; }
    // Shows the filter's edit field above the active page's list and puts
    // the focus in it; typing keeps the rows whose shown cells contain the
    // text, Esc clears and hides it.
    void cmFilter();
    HWND FilterEdit() const { return filter_.Handle(); }
    // Marks the rows that changed since the previous refresh, or stops.
    void cmHighlightChanges();
    // Turns the signature and hash checks on or off (on at start).
    void cmVerifySignatures();
    // The window moved to a screen of dpi (WM_DPICHANGED): fonts, places and
    // columns follow, and the window takes the suggested rectangle.
    void DpiChanged(int dpi, const RECT& suggested);
    bool HighlightChanges() const noexcept { return highlightChanges_; }
    // The change mark of a page's row (by its item data): what the next
    // paint draws it with.
    TLiveChange RowChange(TMainPage page, LPARAM data) const {
        const auto& marks = marks_[page];
        return data >= 0 && static_cast<std::size_t>(data) < marks.size() ? marks[static_cast<std::size_t>(data)]
                                                                          : TLiveChange::None;
    }
    // The Find window, null until first shown.
    Twnd_Find* FindDialog() const { return find_.get(); }
    void mmAboutClick();
    void cmPrcProps();
    void cmPrcKill();
    void cmPrcDetails();
    void cmDrvProps();
    void cmDrvDetails();
    void cmSvcProps();
    void cmSvcDetails();
    void cmSvcStart();
    void cmSvcStop();
    void cmSvcPause();
    void cmSvcResume();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND Item(int id) const { return ::GetDlgItem(Handle(), id); }
    void FormCreate();
    void CreateControls();
    void CreateMenus();
    void UpdateMenuBar();
    void UpdateTabs();
    void pcChange();
    void ShowPageControls();
    void Command(int id);
    LRESULT Notify(NMHDR& hdr);
    bool WantsHandCursor(HWND control) const;

    void ShowProcessColumns();
    void ShowStatus();
    void ShowLivePanels();
    void ShowLiveCommands();
    void FillProcesses();
    void FillDrivers();
    template <typename Record, typename Texts>
    void FillFlatPage(TMainPage page, int count, void (TOrvex_ProcessList::*get)(std::uint32_t, Record&) const,
                      Texts texts, TRecordKey (*key)(const Record&), const std::vector<Record>& previous);
    void FillServices();

    // The records behind the selected rows: each row carries the index and
    // key of the record it was filled from.
    TRowTarget SelectedProcess() const;
    TRowTarget SelectedDriver() const;
    TRowTarget SelectedService() const;

    // A service command: when the selected service's state (as of the last
    // refresh) is one of Allowed, confirm Question, ask for the start
    // parameters when AskParameters, and run Action on the service's key
    // name; refresh on success, warn with Failure otherwise.
    template <typename Action>
    void ControlService(std::initializer_list<int> allowed, const char* question, const char* failure,
                        bool askParameters, Action action);

    Twnd_Splash* splash_;
    std::unique_ptr<Twnd_Find> find_;
    bool quitOnClose_;
    orvex::TFont font_;
    orvex::TFont boldFont_;
    orvex::TAnchorLayout anchors_;
    int dpi_ = orvex::BaseDpi;  // of the screen the window is on
    orvex::TAccelTable accelerators_;
    orvex::TMenu menuBar_;
    std::array<orvex::TMenu, MenuCount> popups_;
    std::array<bool, MenuCount> menuVisible_{};
    std::array<bool, PageCount> pageVisible_{true, true, true};
    std::array<orvex::TSortableList, PageCount> lists_;
    std::array<TRowRecords, PageCount> rows_;
    // The processes as a tree (until a click on a column header sorts them
    // flat); for the run only.
    bool processTree_ = false;
    // The lists of the previous live refresh (processes without their
    // threads, modules and token lists), and the change marks of each
    // page's rows by their item data.
    struct TPreviousLists {
        TProcList Processes;
        TDriverList Drivers;
        TServiceList Services;
    };
    TPreviousLists previous_;
    bool havePrevious_ = false;
    bool liveShown_ = false;  // the lists show live data
    bool highlightChanges_ = true;
    std::array<std::vector<TLiveChange>, PageCount> marks_;
    // Whether a page's rows carry their marks as characters (high contrast)
    // rather than colours, as its last fill decided.
    std::array<bool, PageCount> markers_{};

    // The filter above the active page's list, and how many rows each page
    // shows.
    orvex::TFilterField filter_;
    std::array<int, PageCount> shownRows_{};
    void FilterChanged();
    std::string StatusNotesText() const;

    bool ChangesShown() const noexcept;
    void KeepPreviousLists();
    std::string ChangeSummaryText(TMainPage page) const;
    // The background of a changed row (null: the list's own).
    const COLORREF* ChangeColour(TMainPage page, LPARAM data) const;
    TMainPage activePage_ = pgProcesses;
    TDataFamily family_;
};

}  // namespace orvex::app
