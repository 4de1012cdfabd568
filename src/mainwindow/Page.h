#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "platform/Handles.h"
#include "ui/ControlTable.h"
#include "ui/Theme.h"
#include "ui/Window.h"

namespace hc {

// The fonts of the main window at its current DPI.
struct Fonts {
    UniqueFont normal;  // Verdana, 13 pixels at 100 %
    UniqueFont bold;
    UniqueFont heading;  // bold and underlined
    UniqueFont title;    // bold, 19 pixels
    UniqueFont link;     // underlined
    void Make(UINT dpi);
};

// The margin that kFill leaves at a page's edge, in pixels at 96 DPI.
inline constexpr int kPageMargin = 12;

int Scale(int value, UINT dpi);

// A page of the main window: a child window that owns its controls and their handlers.
class Page : public Window<Page> {
public:
    ~Page() override = default;
    // Creates the page (hidden) in its area, and its controls from the table at their places for the DPI.
    HWND Create(HWND parent, const Themes& themes, const Fonts& fonts, const RECT& area, UINT dpi);
    // Places the page in its area and lays out its controls for the DPI; a control already in place, with its font,
    // is left alone (under Wine each move of a control costs about half a millisecond).
    void Layout(const RECT& area, UINT dpi);
    // The page becomes the one on show.
    virtual void OnShown() {}
    // The main window opens or becomes active: the controls show the settings again.
    virtual void Refresh() {}
    // A new theme: controls that colour themselves repaint.
    virtual void OnThemeChanged() {}

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

protected:
    virtual std::span<const ControlRow> Controls() const = 0;
    virtual void OnCreated() {}
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
    virtual void OnContextMenu(HWND /*control*/, POINT /*at*/) {}
    virtual void OnScroll(HWND /*control*/) {}
    virtual bool IsLink(int /*id*/) const { return false; }
    virtual void LaidOut(UINT /*dpi*/) {}

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(int id, bool checked) {
        SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // Shows a menu of (id, caption, enabled) items at the point and gives the chosen id, 0 for none.
    struct MenuItem {
        int id;
        const wchar_t* caption;
        bool enabled = true;
    };
    int TrackMenu(std::span<const MenuItem> items, POINT at);
    // The point where a context menu opens: the mouse's, or below the selected row for the keyboard's.
    POINT MenuPoint(HWND list, POINT at) const;

    const Themes* themes_ = nullptr;
    const Fonts* fonts_ = nullptr;

private:
    HFONT FontFor(FontKind kind) const;
    // Where the row's control goes in a page of that size.
    RECT PlaceOf(const ControlRow& row, int width, int height, UINT dpi) const;
    void AddHints();

    HWND hints_ = nullptr;  // the tooltips of the rows that have a hint; none when no row has one
};

}  // namespace hc
