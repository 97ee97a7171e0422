// The service details dialog: the version data of a service's executable, its
// configuration and state, and the services it depends on and that depend on
// it, as two trees that grow as their nodes are expanded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/DetailsForm.h"
#include "app/pure/RowRecords.h"
#include "engine/OXI_Processes.h"
#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_GuiResources.h"

namespace orvex {

class Tdlg_SvcDetails : public TDetailsDialog {
public:
    Tdlg_SvcDetails(const TOrvex_ProcessList& component, int index);

    const TServiceInfo& Service() const noexcept { return service_; }

protected:
    void FormCreate() override;
    std::optional<LRESULT> Notify(const NMHDR& header, LPARAM lp) override;
    void ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) override;

private:
    void DisplayService();
    // The icon of the service's file when FromFile and the file exists, else the
    // service picture.
    void ShowServiceIcon(bool fromFile);
    // The indexes of the services Service depends on / that depend on it;
    // names that are not services (load-order groups) are left out.
    std::vector<int> DependencyNames(const TServiceInfo& service) const;
    std::vector<int> DependentNames(const TServiceInfo& service);
    // A node per service, showing its display name and holding its record.
    void AddServiceNodes(HWND tree, HTREEITEM parent, const std::vector<int>& services);
    // The index of the service a node was made for; -1 when it is gone.
    int NodeService(HWND tree, HTREEITEM node) const;
    void Dep1TreeExpanding(HTREEITEM node);
    void Dep2TreeExpanding(HTREEITEM node);
    void ExpandOnce(HWND tree, HTREEITEM node, bool dependencies);

    const TOrvex_ProcessList& component_;
    int index_;
    TServiceInfo service_;
    std::vector<std::string> nameList_;  // scratch list of dependent key names
    app::TRowRecords nodes_;             // the services of both trees' nodes
    TIcon icon_;
    TImageList glyphs_;
    TGeneralListPainter painter_;
};

// Shows the details of the service at Index of Component modally over Owner.
void ShowServiceDetails(HWND owner, const TOrvex_ProcessList& component, int index);

}  // namespace orvex
