#include "app/PrcDetails.h"

#include "app/DataFamily.h"
#include "app/DetailsGlyphs.h"
#include "app/DetailsLists.h"
#include "app/PrcDetailsLayout.h"
#include "app/WinDetails.h"
#include "app/pure/MainRows.h"
#include "app/pure/PrcDetailsRows.h"
#include "app/pure/PrcListRows.h"
#include "platform/Orvex_Routines.h"
#include "ui/Orvex_Dialogs.h"

namespace orvex {

namespace {

// The records of the component (Count of them, each read by Get) that
// belong to process Pid, in the component's order.
template <typename Record>
std::vector<Record> RecordsOfProcess(const TOrvex_ProcessList& component, int count,
                                     void (TOrvex_ProcessList::*get)(std::uint32_t, Record&) const, std::uint32_t pid) {
    std::vector<Record> records;
    for (int i = 0; i < count; ++i) {
        Record r;
        (component.*get)(static_cast<std::uint32_t>(i), r);
        if (r.ProcessID == pid) records.push_back(std::move(r));
    }
    return records;
}

}  // namespace

Tdlg_PrcDetails::Tdlg_PrcDetails(TOrvex_ProcessList& procList, int procIndex, TDetailsRowTarget target)
    : TDetailsDialog(PrcDetailsForm), procList_(procList), procIndex_(procIndex), target_(std::move(target)) {}

TProcessInfo Tdlg_PrcDetails::CurrentProcess() const {
    TProcessInfo p;
    // A negative index names no record: the copy stays empty.
    procList_.GetProcess(static_cast<std::uint32_t>(procIndex_), p);
    return p;
}

void Tdlg_PrcDetails::FormCreate() {
    SetupPropertyList(Item(IdPrcGenList), ProcessGeneralWidths);
    SetupPropertyList(Item(IdPrcCntList), CounterColumns);
    SetupPropertyList(Item(IdPrcSecList), SecurityWidths);
    SetupColumnList(Item(IdPrcModList), ModuleColumns);
    SetupColumnList(Item(IdPrcThdList), ThreadColumns);
    SetupColumnList(Item(IdPrcHList), HandleColumns);
    SetupColumnList(Item(IdPrcCPList), ChildColumns);
    modList_.Attach(Item(IdPrcModList));
    thdList_.Attach(Item(IdPrcThdList));
    hList_.Attach(Item(IdPrcHList));
    cpList_.Attach(Item(IdPrcCPList));
    windowGlyphs_ = MakeWindowGlyphs();
    const HWND tree = Item(IdPrcWinTree);
    TreeView_SetImageList(tree, windowGlyphs_.get(), TVSIL_NORMAL);
    TreeView_SetIndent(tree, ScaledToDpi(19, Dpi()));
    ActivatePage(pgPrcGeneral);
    DisplayProcess();
    ShowTarget();
}

void Tdlg_PrcDetails::ShowTarget() {
    int listId = 0;
    switch (target_.Page) {
    case pgPrcModules:
        listId = IdPrcModList;
        break;
    case pgPrcHandles:
        listId = IdPrcHList;
        break;
    default:
        return;
    }
    if (!PageVisible(target_.Page)) return;
    ActivatePage(target_.Page);
    const HWND list = Item(listId);
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        if (ListCellText(list, row, target_.Column) != target_.Text) continue;
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, row, FALSE);
        ::SetFocus(list);
        return;
    }
}

void Tdlg_PrcDetails::DisplayProcess() {
    const bool nt = app::DataFamilyOf(procList_).NT;
    // A report's process is not the running one that may have its
    // identifier now: nothing is read from the system for it, and what the
    // report lacks shows empty.
    const bool live = procList_.LiveData();
    SetPageVisible(pgPrcPerformance, nt);
    SetPageVisible(pgPrcHandles, nt);
    SetPageVisible(pgPrcSecurity, nt);
    for (int id : {IdPrcRefresh, IdPrcProperties, IdPrcModProperties}) ::EnableWindow(Item(id), live);

    TProcessInfo p = CurrentProcess();
    // Live files are checked on the dialog's job; a report shows what it holds.
    const bool checking = live && ImageChecksOn();
    if (checking) {
        p.Signer = CheckingText;
        p.Sha256 = CheckingText;
        for (TModuleInfo& m : p.Modules) m.Signer = CheckingText;
    }
    SetNameText(p.Name);
    ShowImageIcon(live ? p.ImageName.str() : std::string());
    TVersionInfo version;
    if (live) ReadVersionInfo(p.ImageName, version);  // no version data leaves the rows empty
    const std::string commandLine = live ? ReadProcessCommandLine(p.PID) : std::string();
    FillPropertyList(Item(IdPrcGenList), ProcessGeneralRows(p, version, commandLine, nt));

    FillModules(p);
    FillThreads(p, nt);
    FillChildren(p, nt);
    if (nt) {
        FillPropertyList(Item(IdPrcCntList), live ? ProcessCounterRows(p) : StoredCounterRows(p));
        FillSecurity(p);
    }
    FillHandles(p);
    FillWindows(p);
    if (checking) {
        std::vector<std::string> paths{p.ImageName.str()};
        for (const TModuleInfo& m : p.Modules) paths.push_back(m.ImageName.str());
        StartImageChecks(std::move(paths));
    }
}

void Tdlg_PrcDetails::ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) {
    const HWND general = Item(IdPrcGenList);
    const HWND modules = Item(IdPrcModList);
    for (const TImageCheckJob::TAnswer& a : answers) {
        if (a.Index == 0) {
            ShowImageCheck(general, a.Check);
            continue;
        }
        // Module a.Index - 1: its row, wherever sorting put it.
        const int rows = ListView_GetItemCount(modules);
        for (int row = 0; row < rows; ++row) {
            const auto data = ListRowData(modules, row);
            const app::TRowRecord* record = data ? modRows_.Find(*data) : nullptr;
            if (record && static_cast<std::size_t>(record->Index) + 1 == a.Index)
                SetListCellText(modules, row, ModuleSignerColumn, a.Check.Signer);
        }
    }
}

void Tdlg_PrcDetails::ShowImageIcon(const std::string& imageName) {
    TIcon next = ExistingFileIcon(imageName);
    // The new picture shows before the one it replaces is released.
    ShowIcon(next ? next.get() : ::LoadIcon(nullptr, IDI_APPLICATION));
    icon_ = std::move(next);
}

void Tdlg_PrcDetails::FillModules(const TProcessInfo& p) {
    SetPageCaption(pgPrcModules, ModulesCaption(p.Modules.size()));
    modRows_.Clear();
    std::vector<std::intptr_t> data;
    data.reserve(p.Modules.size());
    for (std::size_t i = 0; i < p.Modules.size(); ++i)
        data.push_back(modRows_.Add(static_cast<int>(i), app::ModuleKey(p.Modules[i])));
    FillColumnList(Item(IdPrcModList), ModuleRows(p.Modules), data);
    modList_.Resort();
}

void Tdlg_PrcDetails::FillThreads(const TProcessInfo& p, bool nt) {
    SetPageCaption(pgPrcThreads, ThreadsCaption(p.ThreadCount));
    const HWND list = Item(IdPrcThdList);
    if (!nt) {
        const auto widths = ThreadColumnWidths(false);
        for (std::size_t c = 0; c < widths.size(); ++c)
            ListView_SetColumnWidth(list, static_cast<int>(c), ScaledToDpi(widths[c], Dpi()));
    }
    FillColumnList(list, ThreadRows(p.Threads, nt));
    thdList_.Resort();
}

void Tdlg_PrcDetails::FillChildren(const TProcessInfo& p, bool nt) {
    TProcList links;
    const int count = procList_.ProcessCount();
    links.reserve(static_cast<std::size_t>(count));
    cpRows_.Clear();
    std::vector<std::intptr_t> data;
    for (int i = 0; i < count; ++i) {
        TProcessInfo other;
        procList_.GetProcess(static_cast<std::uint32_t>(i), other);
        TProcessInfo& link = links.emplace_back();
        link.PID = other.PID;
        link.ParentPID = other.ParentPID;
        link.CreateTime = other.CreateTime;
        link.Name = other.Name;
        // The rows are the children in list order, as ChildProcessRows makes them.
        if (link.ParentPID == p.PID) data.push_back(cpRows_.Add(i, app::ProcessKey(link)));
    }
    const TListRows rows = ChildProcessRows(links, p.PID, nt);
    FillColumnList(Item(IdPrcCPList), rows, data);
    cpList_.Resort();
    SetPageCaption(pgPrcChildren, ChildProcsCaption(rows.size()));
}

void Tdlg_PrcDetails::FillSecurity(const TProcessInfo& p) {
    FillPropertyList(Item(IdPrcSecList), SecurityRows(p.Groups, p.Privileges));
}

void Tdlg_PrcDetails::FillHandles(const TProcessInfo& p) {
    const THandleList handles = RecordsOfProcess(procList_, procList_.HandleCount(), &TOrvex_ProcessList::GetHandle,
                                                 p.PID);
    const TListRows rows = HandleRows(handles, p.PID);
    FillColumnList(Item(IdPrcHList), rows);
    hList_.Resort();
    SetPageCaption(pgPrcHandles, HandlesCaption(rows.size()));
    ::SetWindowTextA(Item(IdPrcNotice), app::UnreadNamesNotice(procList_.UnreadHandleNames(p.PID)).c_str());
}

void Tdlg_PrcDetails::FillWindows(const TProcessInfo& p) {
    const TWindowList windows = RecordsOfProcess(procList_, procList_.WindowCount(), &TOrvex_ProcessList::GetWindow,
                                                 p.PID);
    const std::vector<TWindowNode> nodes = WindowTreeNodes(windows, p.PID);
    winRows_.Clear();
    for (int i = 0, count = procList_.WindowCount(); i < count; ++i) {
        TWindowInfo w;
        procList_.GetWindow(static_cast<std::uint32_t>(i), w);
        if (w.ProcessID == p.PID) winRows_.Add(i, app::WindowKey(w));
    }
    const HWND tree = Item(IdPrcWinTree);
    TreeView_DeleteAllItems(tree);
    std::vector<HTREEITEM> items;
    items.reserve(nodes.size());
    for (const TWindowNode& n : nodes) {
        const HTREEITEM parent = n.Parent >= 0 ? items[static_cast<std::size_t>(n.Parent)] : TVI_ROOT;
        // The node's data is the window handle itself: nothing to free.
        items.push_back(AddTreeNode(tree, parent, n.Text, n.Image, static_cast<LPARAM>(n.Handle), false));
    }
    if (!items.empty()) {
        for (HTREEITEM item : items) TreeView_Expand(tree, item, TVE_EXPAND);
        TreeView_EnsureVisible(tree, items.front());
    }
    SetPageCaption(pgPrcWindows, WindowsCaption(nodes.size()));
}

void Tdlg_PrcDetails::Command(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IdPrcGoToParent:
        GenListDblClick();
        break;
    case IdPrcProperties:
        Button4Click();
        break;
    case IdPrcRefresh:
        bRefreshClick();
        break;
    case IdPrcModProperties:
        ModListDblClick();
        break;
    case IdPrcGoToProcess:
        CPListDblClick();
        break;
    case IdPrcWinDetails:
        cmWinDetails();
        break;
    default:
        break;
    }
}

TSortableList* Tdlg_PrcDetails::SortableFor(HWND list) noexcept {
    for (TSortableList* s : {&modList_, &thdList_, &hList_, &cpList_})
        if (s->Handle() == list) return s;
    return nullptr;
}

std::optional<LRESULT> Tdlg_PrcDetails::Notify(const NMHDR& header, LPARAM lp) {
    switch (header.code) {
    case NM_CUSTOMDRAW: {
        auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
        if (TSortableList* sortable = SortableFor(header.hwndFrom)) return sortable->CustomDraw(draw);
        if (header.idFrom == IdPrcGenList || header.idFrom == IdPrcCntList || header.idFrom == IdPrcSecList)
            return painter_.CustomDraw(draw);
        return std::nullopt;
    }
    case LVN_COLUMNCLICK:
        if (TSortableList* sortable = SortableFor(header.hwndFrom)) {
            sortable->ColumnClick(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem);
            return 0;
        }
        return std::nullopt;
    case NM_DBLCLK:
        switch (header.idFrom) {
        case IdPrcModList:
            ModListDblClick();
            return 0;
        case IdPrcCPList:
            CPListDblClick();
            return 0;
        case IdPrcWinTree:
            cmWinDetails();
            return 0;
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

void Tdlg_PrcDetails::GenListDblClick() {
    const int index = procList_.FindProcess(CurrentProcess().ParentPID);
    if (index < 0) return;
    procIndex_ = index;
    DisplayProcess();
}

void Tdlg_PrcDetails::Button4Click() {
    if (!procList_.LiveData()) return;  // a report names files of another time
    const TProcessInfo p = CurrentProcess();
    if (HasImageFile(p.PID)) ShowFileProperties(Handle(), p.ImageName);
}

void Tdlg_PrcDetails::bRefreshClick() {
    // A report stays what it is: a refresh would replace it with live data.
    if (!procList_.LiveData()) return;
    TBusyCursor busy;
    const std::uint32_t pid = CurrentProcess().PID;
    procList_.RefreshData();
    const int index = procList_.FindProcess(pid);
    if (index < 0) {
        Close(IDCANCEL);  // the process has ended
        return;
    }
    procIndex_ = index;
    DisplayProcess();
}

void Tdlg_PrcDetails::ModListDblClick() {
    if (!procList_.LiveData()) return;
    const TProcessInfo p = CurrentProcess();
    const app::TRowTarget row = app::ResolveRow(modRows_, SelectedRowData(Item(IdPrcModList)),
                                                static_cast<int>(p.Modules.size()), [&](int i) {
                                                    return app::ModuleKey(p.Modules[static_cast<std::size_t>(i)]);
                                                });
    if (!row.Found()) return;
    ShowFileProperties(Handle(), p.Modules[static_cast<std::size_t>(row.Index)].ImageName);
}

void Tdlg_PrcDetails::CPListDblClick() {
    const app::TRowTarget row = app::ResolveRow(cpRows_, SelectedRowData(Item(IdPrcCPList)), procList_.ProcessCount(),
                                                [this](int i) {
                                                    TProcessInfo other;
                                                    procList_.GetProcess(static_cast<std::uint32_t>(i), other);
                                                    return app::ProcessKey(other);
                                                });
    if (!row.Found()) return;
    procIndex_ = row.Index;
    DisplayProcess();
    ActivatePage(pgPrcGeneral);
}

void Tdlg_PrcDetails::cmWinDetails() {
    const HWND tree = Item(IdPrcWinTree);
    const HTREEITEM node = TreeView_GetSelection(tree);
    if (!node) return;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!TreeView_GetItem(tree, &item)) return;
    // A node holds its window's handle, the key of its record.
    const app::TRowRecord* row = winRows_.FindKey({static_cast<std::uintptr_t>(item.lParam), 0, {}});
    if (!row) return;
    TWindowInfo window;
    const int index = app::MatchRowRecord(*row, procList_.WindowCount(), [&](int i) {
        procList_.GetWindow(static_cast<std::uint32_t>(i), window);
        return app::WindowKey(window);
    });
    if (index < 0) return;
    procList_.GetWindow(static_cast<std::uint32_t>(index), window);
    // Modal over this dialog, which stays disabled while it is open.
    ShowWindowDetails(Handle(), window);
}

void ShowProcessDetails(HWND owner, TOrvex_ProcessList& procList, int index) {
    Tdlg_PrcDetails dialog(procList, index);
    dialog.Execute(owner);
}

void ShowProcessDetails(HWND owner, TOrvex_ProcessList& procList, int index, const TDetailsRowTarget& target) {
    Tdlg_PrcDetails dialog(procList, index, target);
    dialog.Execute(owner);
}

}  // namespace orvex
