// The description of one window: its window and class data and the names of
// its style bits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <tuple>

#include "platform/Orvex_WindowText.h"
#include "platform/pure/Orvex_WindowRecord.h"

namespace orvex {

// Fills every field of Info for the window. False, with Info untouched, when
// the handle names no window. The text is read without waiting on another
// thread's message loop (TWindowTextReader).
bool DescribeWindow(HWND handle, TWindowInfo& info);

// The class data of the windows described so far in one walk of the window
// tree, so that each class is read once. A class is known by its owning
// process, atom, module and style: windows with all four equal share one
// class (classes of equal name in different processes, or registered for
// different modules, stay apart).
class TWindowClasses {
public:
    struct TClassData {
        TShortString ClassName;
        std::uint32_t ClassExtra = 0;
        std::uint32_t WindowExtra = 0;
        std::uintptr_t ClassWndProc = 0;
        std::uintptr_t Background = 0;
        std::uintptr_t Cursor = 0;
        std::uintptr_t Icon = 0;
        TStringList ClassStyleNames;
    };
    using TKey = std::tuple<std::uint32_t, std::uint32_t, std::uintptr_t, std::uint32_t>;

    const TClassData* Find(const TKey& key) const {
        auto it = classes_.find(key);
        return it == classes_.end() ? nullptr : &it->second;
    }
    const TClassData& Add(const TKey& key, TClassData data) { return classes_[key] = std::move(data); }

private:
    std::map<TKey, TClassData> classes_;
};

// What a walk of the tree knows of the visibility of a window's parent.
enum class TParentVisibility { Unknown, Hidden, Shown };

// DescribeWindow within a walk of the window tree: class data come from
// Classes where the window's class is known there (and are added otherwise);
// Visible is the window's own visible style combined with its parent's
// visibility, which is asked of the system only when Parent is Unknown. A
// child of the desktop has the parent Shown: the desktop's own style does not
// count. Texts reads the window texts of the walk.
bool DescribeWindow(HWND handle, TWindowInfo& info, TWindowClasses& classes, TWindowTextReader& texts,
                    TParentVisibility parent);

}  // namespace orvex
