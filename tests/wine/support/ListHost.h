// A top-level window of the test process holding one report-style list view
// that sorts by column click (or paints as a general property list).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_Window.h"

namespace orvex::test {

struct TColumnSpec {
    const char* Caption;
    int Width;
    int Format = LVCFMT_LEFT;
};

class TListHost : public orvex::TWindow {
public:
    static constexpr int ListId = 1001;
    enum class TKind { Sortable, General };

    TListHost(TKind kind, const std::vector<TColumnSpec>& columns);
    ~TListHost() override {
        if (oldBitmap_) ::SelectObject(dc_.get(), oldBitmap_);
        DestroyHandle();
    }

    HWND List() const { return ::GetDlgItem(Handle(), ListId); }
    orvex::TSortableList& Sortable() { return sortable_; }
    int AddRow(const std::vector<std::string>& cells, int image = 0);
    // The list's client area as painted now, into a bitmap; Pixel reads it.
    void Render();
    COLORREF Pixel(int x, int y) const;
    int CustomDrawCalls() const { return customDraws_; }

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    TKind kind_;
    std::vector<TColumnSpec> columns_;
    orvex::TAnchorLayout anchors_;
    orvex::TSortableList sortable_;
    orvex::TGeneralListPainter painter_;
    orvex::TMemoryDC dc_;
    orvex::TBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    int customDraws_ = 0;
};

}  // namespace orvex::test
