#include "app/SvcDetails.h"

#include "app/DetailsGlyphs.h"
#include "app/DetailsLists.h"
#include "app/SvcDetailsLayout.h"
#include "app/pure/SvcDetailsRows.h"
#include "platform/Orvex_Routines.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

constexpr int ServiceGlyph = 0;

}  // namespace

Tdlg_SvcDetails::Tdlg_SvcDetails(const TOrvex_ProcessList& component, int index)
    : TDetailsDialog(SvcDetailsForm), component_(component), index_(index) {
    component_.GetService(static_cast<std::uint32_t>(index_), service_);
}

void Tdlg_SvcDetails::FormCreate() {
    SetupPropertyList(Item(IdSvcGenList), ServiceGeneralWidths);
    glyphs_ = MakeServiceGlyphs();
    for (int id : {IdSvcDep1Tree, IdSvcDep2Tree}) TreeView_SetImageList(Item(id), glyphs_.get(), TVSIL_NORMAL);
    ActivatePage(pgSvcGeneral);
    DisplayService();
}

void Tdlg_SvcDetails::DisplayService() {
    SetNameText(service_.DisplayName);
    // A report's service: its file on this system may be another one now.
    const bool live = component_.LiveData();
    ShowServiceIcon(live);
    TVersionInfo version;
    if (live) ReadVersionInfo(service_.ImageName, version);  // no version data leaves the rows empty
    TPropertyRows rows = ServiceGeneralRows(service_, version);
    // Reports hold no service's check.
    const bool checking = live && ImageChecksOn();
    AddImageCheckRows(rows, checking ? CheckingText : "", checking ? CheckingText : "");
    FillPropertyList(Item(IdSvcGenList), rows);
    if (checking) StartImageChecks({ServiceImageFile(service_.ImageName.str())});

    nodes_.Clear();
    const HWND dep1 = Item(IdSvcDep1Tree);
    TreeView_DeleteAllItems(dep1);
    AddServiceNodes(dep1, TVI_ROOT, DependencyNames(service_));
    const HWND dep2 = Item(IdSvcDep2Tree);
    TreeView_DeleteAllItems(dep2);
    AddServiceNodes(dep2, TVI_ROOT, DependentNames(service_));
}

void Tdlg_SvcDetails::ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) {
    for (const TImageCheckJob::TAnswer& a : answers) ShowImageCheck(Item(IdSvcGenList), a.Check);
}

void Tdlg_SvcDetails::ShowServiceIcon(bool fromFile) {
    // A command line with arguments names no file: the service picture stays.
    TIcon next = fromFile ? ExistingFileIcon(service_.ImageName) : TIcon();
    if (!next) next = MakeServiceIcon(::GetSystemMetrics(SM_CXICON));
    ShowIcon(next.get());
    icon_ = std::move(next);
}

namespace {

// The index of the service whose key name is Key (letter case ignored, as
// the service manager's names are), -1 when none is.
int ServiceIndexByKey(const TOrvex_ProcessList& component, std::string_view key) {
    TServiceInfo s;
    for (int i = 0, count = component.ServiceCount(); i < count; ++i) {
        component.GetService(static_cast<std::uint32_t>(i), s);
        if (SameText(s.Name, key)) return i;
    }
    return -1;
}

}  // namespace

std::vector<int> Tdlg_SvcDetails::DependencyNames(const TServiceInfo& service) const {
    std::vector<int> services;
    for (const std::string& key : SplitServiceNames(service.DependOnService)) {
        const int index = ServiceIndexByKey(component_, key);
        if (index < 0) continue;
        TServiceInfo s;
        component_.GetService(static_cast<std::uint32_t>(index), s);
        if (!s.DisplayName.empty()) services.push_back(index);
    }
    return services;
}

std::vector<int> Tdlg_SvcDetails::DependentNames(const TServiceInfo& service) {
    component_.GetDependentServices(service.Name, nameList_);
    std::vector<int> services;
    for (const std::string& key : nameList_) {
        // The inventory matches by containment; only a whole entry of the
        // other service's dependency list makes it a dependent.
        const int index = ServiceIndexByKey(component_, key);
        if (index < 0) continue;
        TServiceInfo other;
        component_.GetService(static_cast<std::uint32_t>(index), other);
        if (DependsOnService(other.DependOnService, service.Name)) services.push_back(index);
    }
    return services;
}

void Tdlg_SvcDetails::AddServiceNodes(HWND tree, HTREEITEM parent, const std::vector<int>& services) {
    for (int index : services) {
        TServiceInfo s;
        component_.GetService(static_cast<std::uint32_t>(index), s);
        AddTreeNode(tree, parent, s.DisplayName, ServiceGlyph, nodes_.Add(index, app::ServiceKey(s)), true);
    }
    TreeView_SortChildren(tree, parent, FALSE);
}

int Tdlg_SvcDetails::NodeService(HWND tree, HTREEITEM node) const {
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!TreeView_GetItem(tree, &item)) return -1;
    const app::TRowRecord* row = nodes_.Find(item.lParam);
    if (!row) return -1;
    return app::MatchRowRecord(*row, component_.ServiceCount(), [this](int i) {
        TServiceInfo s;
        component_.GetService(static_cast<std::uint32_t>(i), s);
        return app::ServiceKey(s);
    });
}

void Tdlg_SvcDetails::ExpandOnce(HWND tree, HTREEITEM node, bool dependencies) {
    // Children are built once, at the first expansion.
    if (TreeView_GetChild(tree, node)) return;
    const int index = NodeService(tree, node);
    if (index >= 0) {
        TServiceInfo service;
        component_.GetService(static_cast<std::uint32_t>(index), service);
        AddServiceNodes(tree, node, dependencies ? DependencyNames(service) : DependentNames(service));
    }
    SetTreeNodeHasChildren(tree, node, TreeView_GetChild(tree, node) != nullptr);
}

void Tdlg_SvcDetails::Dep1TreeExpanding(HTREEITEM node) { ExpandOnce(Item(IdSvcDep1Tree), node, true); }

void Tdlg_SvcDetails::Dep2TreeExpanding(HTREEITEM node) { ExpandOnce(Item(IdSvcDep2Tree), node, false); }

std::optional<LRESULT> Tdlg_SvcDetails::Notify(const NMHDR& header, LPARAM lp) {
    switch (header.code) {
    case NM_CUSTOMDRAW:
        if (header.idFrom == IdSvcGenList) return painter_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
        return std::nullopt;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        const auto& change = *reinterpret_cast<const NMTREEVIEWA*>(lp);
        if ((change.action & TVE_EXPAND) == 0) return std::nullopt;
        if (header.idFrom == IdSvcDep1Tree) Dep1TreeExpanding(change.itemNew.hItem);
        if (header.idFrom == IdSvcDep2Tree) Dep2TreeExpanding(change.itemNew.hItem);
        return FALSE;  // the expansion goes ahead
    }
    default:
        return std::nullopt;
    }
}

void ShowServiceDetails(HWND owner, const TOrvex_ProcessList& component, int index) {
    Tdlg_SvcDetails dialog(component, index);
    dialog.Execute(owner);
}

}  // namespace orvex
