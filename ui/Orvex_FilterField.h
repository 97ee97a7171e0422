// The filter of a list: an edit field shown above a list view, which narrows
// the list to the rows whose shown cells contain its text. Showing the field
// moves the list's top down below it; hiding it puts the list back where its
// window's layout keeps it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_TextCase.h"
#include "ui/Orvex_Layout.h"

namespace orvex {

class TFilterField {
public:
    static constexpr int Height = 21;
    static constexpr int Gap = 3;

    // Creates the hidden field as child Id of Parent, in Font.
    void Create(HWND parent, int id, HFONT font);
    HWND Handle() const noexcept { return field_; }
    bool Shown() const noexcept { return shown_; }
    const std::string& Text() const noexcept { return text_; }

    // Shows the field above List (whose place Anchors keeps) and puts the
    // focus in it.
    void Show(HWND list, const TAnchorLayout& anchors);
    // Places the field above List again (after the parent's size changed, or
    // for another list).
    void Place(HWND list, const TAnchorLayout& anchors) const;
    // Clears and hides the field and gives the focus to List.
    void Hide(HWND list, const TAnchorLayout& anchors);
    // Takes the field's text after an EN_CHANGE; true when it differs.
    bool TakeText();

    // Whether a row of these shown cells passes: no filter, or a cell holds
    // the text without regard to case, in the code page in force.
    bool Passes(const std::vector<std::string>& cells) const;

    // "Shown: 3 of 10".
    static std::string ShownText(std::size_t shown, std::size_t all);

private:
    HWND field_ = nullptr;
    bool shown_ = false;
    std::string text_;
    TTextFinder finder_{""};
};

}  // namespace orvex
